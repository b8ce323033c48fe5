#ifndef vtkVireonDynamicModelerCurveCutTool_h
#define vtkVireonDynamicModelerCurveCutTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Curve cut": cuts a piece out of a model along a closed curve.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerCurveCutTool);

#endif
