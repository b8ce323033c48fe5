#ifndef vtkVireonDynamicModelerSubdivideTool_h
#define vtkVireonDynamicModelerSubdivideTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Subdivide": subdivides the triangles of a model.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerSubdivideTool);

#endif
