#ifndef vtkVireonDynamicModelerPlaneCutTool_h
#define vtkVireonDynamicModelerPlaneCutTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Plane cut": cuts a model in two with a plane.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerPlaneCutTool);

#endif
