#ifndef vtkKOVASelectionNode_h
#define vtkKOVASelectionNode_h

#include "vtkKOVANode.h"

/// The application's current selections (the active plot chart).
class KOVACORE_EXPORT vtkKOVASelectionNode : public vtkKOVANode
{
public:
  static vtkKOVASelectionNode* New();
  vtkTypeMacro(vtkKOVASelectionNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Selection"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVASelectionNode);

  vtkGetStringMacro(ActivePlotChartID);
  vtkSetStringMacro(ActivePlotChartID);

protected:
  vtkKOVASelectionNode();
  ~vtkKOVASelectionNode() override;

  char* ActivePlotChartID = nullptr;

private:
  vtkKOVASelectionNode(const vtkKOVASelectionNode&) = delete;
  void operator=(const vtkKOVASelectionNode&) = delete;
};

#endif
