#ifndef vtkVireonDynamicModelerAppendTool_h
#define vtkVireonDynamicModelerAppendTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Append": appends models into one.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerAppendTool);

#endif
