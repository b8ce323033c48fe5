#ifndef vtkVireonDynamicModelerExtrudeTool_h
#define vtkVireonDynamicModelerExtrudeTool_h

#include "vtkVireonDynamicModelerTool.h"

/// "Extrude": extrudes a surface along its normals.
vtkVireonDynamicModelerToolDeclarationMacro(vtkVireonDynamicModelerExtrudeTool);

#endif
