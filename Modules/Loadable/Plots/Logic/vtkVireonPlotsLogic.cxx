#include "vtkVireonPlotsLogic.h"

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVALayoutNode.h>
#include <vtkKOVAPlotChartNode.h>
#include <vtkKOVAPlotSeriesNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASelectionNode.h>

#include <vtkObjectFactory.h>
#include <vtkSmartPointer.h>

#include <string>
#include <vector>

vtkStandardNewMacro(vtkVireonPlotsLogic);

vtkVireonPlotsLogic::vtkVireonPlotsLogic() = default;
vtkVireonPlotsLogic::~vtkVireonPlotsLogic() = default;

//------------------------------------------------------------------------------
void vtkVireonPlotsLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
vtkKOVAPlotSeriesNode* vtkVireonPlotsLogic::CloneSeries(vtkKOVAPlotSeriesNode* source,
  const char* vtkNotUsed(name))
{
  if (!source || !source->GetScene())
  {
    vtkErrorMacro(
      "vtkVireonPlotsLogic::CloneSeries failed: source is nullptr or not added to a a scene");
    return nullptr;
  }
  vtkKOVAScene* scene = source->GetScene();
  vtkSmartPointer<vtkKOVAPlotSeriesNode> clone;
  clone.TakeReference(
    vtkKOVAPlotSeriesNode::SafeDownCast(scene->CreateNodeByClass("vtkKOVAPlotSeriesNode")));
  if (!clone)
  {
    vtkErrorMacro("CloneSeries: the scene cannot create a vtkKOVAPlotSeriesNode");
    return nullptr;
  }
  clone->CopyWithScene(source);
  const std::string baseName = std::string(source->GetName() ? source->GetName() : "") + "_Copy";
  clone->SetName(scene->GetUniqueNameByString(baseName.c_str()).c_str());
  scene->AddNode(clone);
  return clone;
}

//------------------------------------------------------------------------------
vtkKOVAPlotChartNode* vtkVireonPlotsLogic::GetFirstPlotChartForSeries(
  vtkKOVAPlotSeriesNode* seriesNode)
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!seriesNode || !scene)
  {
    return nullptr;
  }
  std::vector<vtkKOVANode*> chartNodes;
  scene->GetNodesByClass("vtkKOVAPlotChartNode", chartNodes);
  for (vtkKOVANode* node : chartNodes)
  {
    vtkKOVAPlotChartNode* chartNode = vtkKOVAPlotChartNode::SafeDownCast(node);
    if (chartNode && chartNode->HasPlotSeriesNodeID(seriesNode->GetID()))
    {
      return chartNode;
    }
  }
  return nullptr;
}

//------------------------------------------------------------------------------
void vtkVireonPlotsLogic::ShowChartInLayout(vtkKOVAPlotChartNode* chartNode)
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  vtkKOVALayoutNode* layoutNode =
    scene ? vtkKOVALayoutNode::SafeDownCast(scene->GetFirstNodeByClass("vtkKOVALayoutNode"))
          : nullptr;
  if (layoutNode)
  {
    const int layout = GetLayoutWithPlot(layoutNode->GetViewArrangement());
    if (layout != layoutNode->GetViewArrangement())
    {
      layoutNode->SetViewArrangement(layout);
    }
  }

  vtkKOVAApplicationLogic* applicationLogic = this->GetApplicationLogic();
  if (!applicationLogic)
  {
    return;
  }
  if (vtkKOVASelectionNode* selectionNode = applicationLogic->GetSelectionNode())
  {
    selectionNode->SetActivePlotChartID(chartNode ? chartNode->GetID() : nullptr);
  }
  applicationLogic->PropagatePlotChartSelection();
}

//------------------------------------------------------------------------------
int vtkVireonPlotsLogic::GetLayoutWithPlot(int currentLayout)
{
  switch (currentLayout)
  {
    case 2:
      return 36;
    case 34:
      return 38;
    case 36:
    case 37:
    case 38:
    case 39:
    case 40:
      return currentLayout;
    default:
      return 37;
  }
}
