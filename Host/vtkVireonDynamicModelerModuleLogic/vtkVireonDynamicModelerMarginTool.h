#ifndef vtkVireonDynamicModelerMarginTool_h
#define vtkVireonDynamicModelerMarginTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Margin": grows or shrinks a model by a margin.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerMarginTool);

#endif
