#ifndef vtkKOVAPlotChartNode_h
#define vtkKOVAPlotChartNode_h

#include "vtkKOVANode.h"

#include <string>

class vtkKOVAPlotSeriesNode;

/// A chart: a title and the plot series it shows, listed by node ID (reference role
/// "plotSeries", observed), in order.
class KOVACORE_EXPORT vtkKOVAPlotChartNode : public vtkKOVANode
{
public:
  static vtkKOVAPlotChartNode* New();
  vtkTypeMacro(vtkKOVAPlotChartNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "PlotChart"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAPlotChartNode);

  /// Lists a series (again, if it is listed already). Null IDs are an error and ignored.
  void AddAndObservePlotSeriesNodeID(const char* seriesNodeID);
  /// Makes the series the only one listed (null: none).
  void SetAndObservePlotSeriesNodeID(const char* seriesNodeID);
  /// Removes every listing of the series.
  void RemovePlotSeriesNodeID(const char* seriesNodeID);
  void RemoveAllPlotSeriesNodeIDs();

  int GetNumberOfPlotSeriesNodes();
  /// The n-th listed series ID, or null.
  const char* GetNthPlotSeriesNodeID(int n);
  vtkKOVAPlotSeriesNode* GetNthPlotSeriesNode(int n);
  /// True when the chart lists a series of this ID (false for null).
  bool HasPlotSeriesNodeID(const char* seriesNodeID);

  const std::string& GetTitle() const { return this->Title; }
  void SetTitle(const std::string& title);

  static const char* GetPlotSeriesNodeReferenceRole() { return "plotSeries"; }

protected:
  vtkKOVAPlotChartNode();
  ~vtkKOVAPlotChartNode() override;

  std::string Title;

private:
  vtkKOVAPlotChartNode(const vtkKOVAPlotChartNode&) = delete;
  void operator=(const vtkKOVAPlotChartNode&) = delete;
};

#endif
