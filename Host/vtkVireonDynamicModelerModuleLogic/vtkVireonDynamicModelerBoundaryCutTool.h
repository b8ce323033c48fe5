#ifndef vtkVireonDynamicModelerBoundaryCutTool_h
#define vtkVireonDynamicModelerBoundaryCutTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Boundary cut": cuts a model along the boundary given by planes and curves.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerBoundaryCutTool);

#endif
