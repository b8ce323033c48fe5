#include "vtkVireonDynamicModelerTool.h"

#include "vtkVireonDynamicModelerAppendTool.h"
#include "vtkVireonDynamicModelerBoundaryCutTool.h"
#include "vtkVireonDynamicModelerCurveCutTool.h"
#include "vtkVireonDynamicModelerExtrudeTool.h"
#include "vtkVireonDynamicModelerHollowTool.h"
#include "vtkVireonDynamicModelerMarginTool.h"
#include "vtkVireonDynamicModelerMirrorTool.h"
#include "vtkVireonDynamicModelerPlaneCutTool.h"
#include "vtkVireonDynamicModelerROICutTool.h"
#include "vtkVireonDynamicModelerRevolveTool.h"
#include "vtkVireonDynamicModelerSelectByPointsTool.h"
#include "vtkVireonDynamicModelerSubdivideTool.h"

#include <vtkKOVADynamicModelerNode.h>

#include <vtkObjectFactory.h>

#include <cstring>

vtkVireonDynamicModelerTool::vtkVireonDynamicModelerTool() = default;
vtkVireonDynamicModelerTool::~vtkVireonDynamicModelerTool() = default;

//------------------------------------------------------------------------------
void vtkVireonDynamicModelerTool::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Name: " << this->GetName() << "\n";
}

//------------------------------------------------------------------------------
bool vtkVireonDynamicModelerTool::Run(vtkKOVADynamicModelerNode* node)
{
  if (!node)
  {
    vtkErrorMacro("Run: node is nullptr");
    return false;
  }
  const char* toolName = node->GetToolName();
  if (!toolName || std::strcmp(toolName, this->GetName()) != 0)
  {
    vtkErrorMacro("Run: node " << (node->GetID() ? node->GetID() : "(no ID)") << " names the tool "
                               << (toolName ? toolName : "(none)") << ", not " << this->GetName());
    return false;
  }
  return true;
}

/// Defines a tool class's New, CreateToolInstance and GetName.
#define vtkVireonDynamicModelerToolImplementationMacro(toolClass, toolName)                        \
  vtkStandardNewMacro(toolClass);                                                                  \
  toolClass::toolClass() = default;                                                                \
  toolClass::~toolClass() = default;                                                               \
  vtkVireonDynamicModelerTool* toolClass::CreateToolInstance()                                     \
  {                                                                                                \
    return toolClass::New();                                                                       \
  }                                                                                                \
  const char* toolClass::GetName()                                                                 \
  {                                                                                                \
    return toolName;                                                                               \
  }

vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerPlaneCutTool, "Plane cut");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerCurveCutTool, "Curve cut");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerBoundaryCutTool,
  "Boundary cut");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerMirrorTool, "Mirror");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerExtrudeTool, "Extrude");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerRevolveTool, "Revolve");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerSubdivideTool, "Subdivide");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerHollowTool, "Hollow");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerMarginTool, "Margin");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerAppendTool, "Append");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerROICutTool, "ROI cut");
vtkVireonDynamicModelerToolImplementationMacro(vtkVireonDynamicModelerSelectByPointsTool,
  "Select by points");
