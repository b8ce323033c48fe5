#ifndef vtkVireonDynamicModelerRevolveTool_h
#define vtkVireonDynamicModelerRevolveTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Revolve": revolves a model or curve around an axis.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerRevolveTool);

#endif
