#ifndef vtkKOVAPlotViewNode_h
#define vtkKOVAPlotViewNode_h

#include "vtkKOVAAbstractViewNode.h"

/// A plot view: shows one plot chart, referred to in the role "plotChart" (which Reset keeps).
class KOVACORE_EXPORT vtkKOVAPlotViewNode : public vtkKOVAAbstractViewNode
{
public:
  static vtkKOVAPlotViewNode* New();
  vtkTypeMacro(vtkKOVAPlotViewNode, vtkKOVAAbstractViewNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  static constexpr const char* PlotChartNodeReferenceRole = "plotChart";

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "PlotView"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAPlotViewNode);

  const char* GetPlotChartNodeID();
  void SetPlotChartNodeID(const char* plotChartNodeID);
  vtkKOVANode* GetPlotChartNode();

  enum InteractionModeType
  {
    InteractionModePanView = 0,
    InteractionModeSelectPoints,
    InteractionModeFreehandSelectPoints,
    InteractionModeMovePoints,
  };
  vtkGetMacro(InteractionMode, int);
  vtkSetClampMacro(InteractionMode, int, InteractionModePanView, InteractionModeMovePoints);
  vtkGetMacro(EnablePointMoveAlongX, bool);
  vtkSetMacro(EnablePointMoveAlongX, bool);
  vtkGetMacro(EnablePointMoveAlongY, bool);
  vtkSetMacro(EnablePointMoveAlongY, bool);

protected:
  vtkKOVAPlotViewNode();
  ~vtkKOVAPlotViewNode() override;

  int InteractionMode = InteractionModePanView;
  bool EnablePointMoveAlongX = true;
  bool EnablePointMoveAlongY = true;

private:
  vtkKOVAPlotViewNode(const vtkKOVAPlotViewNode&) = delete;
  void operator=(const vtkKOVAPlotViewNode&) = delete;
};

#endif
