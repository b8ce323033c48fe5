#ifndef vtkVireonDynamicModelerROICutTool_h
#define vtkVireonDynamicModelerROICutTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "ROI cut": cuts a model with a region of interest box.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerROICutTool);

#endif
