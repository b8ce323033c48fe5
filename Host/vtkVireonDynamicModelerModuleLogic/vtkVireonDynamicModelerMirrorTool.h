#ifndef vtkVireonDynamicModelerMirrorTool_h
#define vtkVireonDynamicModelerMirrorTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Mirror": mirrors a model across a plane.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerMirrorTool);

#endif
