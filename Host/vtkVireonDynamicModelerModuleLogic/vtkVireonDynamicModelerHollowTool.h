#ifndef vtkVireonDynamicModelerHollowTool_h
#define vtkVireonDynamicModelerHollowTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Hollow": makes a hollow shell of a model.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerHollowTool);

#endif
