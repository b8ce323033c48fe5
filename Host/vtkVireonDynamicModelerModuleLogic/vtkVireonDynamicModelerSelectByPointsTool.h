#ifndef vtkVireonDynamicModelerSelectByPointsTool_h
#define vtkVireonDynamicModelerSelectByPointsTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Select by points": selects the part of a model near given points.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerSelectByPointsTool);

#endif
