#ifndef vtkKOVAPlotSeriesNode_h
#define vtkKOVAPlotSeriesNode_h

#include "vtkKOVANode.h"

#include <string>

class vtkKOVATableNode;

/// One data series of a plot: which columns of which table node it shows, and how.
class KOVACORE_EXPORT vtkKOVAPlotSeriesNode : public vtkKOVANode
{
public:
  static vtkKOVAPlotSeriesNode* New();
  vtkTypeMacro(vtkKOVAPlotSeriesNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum PlotType
  {
    PlotTypeLine,
    PlotTypeBar,
    PlotTypeScatter,
    PlotTypeScatterBar,
    PlotType_Last // valid types are below this
  };

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "PlotSeries"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAPlotSeriesNode);

  /// The table node that holds the data (reference role "table", observed).
  void SetAndObserveTableNodeID(const char* tableNodeID);
  const char* GetTableNodeID();
  vtkKOVATableNode* GetTableNode();

  vtkGetMacro(PlotType, int);
  /// Values outside the PlotType enumeration are an error and ignored.
  void SetPlotType(int type);
  static const char* GetPlotTypeAsString(int type);
  /// The type named \a name, or -1.
  static int GetPlotTypeFromString(const char* name);

  const std::string& GetXColumnName() const { return this->XColumnName; }
  void SetXColumnName(const std::string& name);
  const std::string& GetYColumnName() const { return this->YColumnName; }
  void SetYColumnName(const std::string& name);

  vtkGetVector3Macro(Color, double);
  vtkSetVector3Macro(Color, double);

  static const char* GetTableNodeReferenceRole() { return "table"; }

protected:
  vtkKOVAPlotSeriesNode();
  ~vtkKOVAPlotSeriesNode() override;

  int PlotType = PlotTypeLine;
  std::string XColumnName;
  std::string YColumnName;
  double Color[3] = { 0.0, 0.0, 0.0 };

private:
  vtkKOVAPlotSeriesNode(const vtkKOVAPlotSeriesNode&) = delete;
  void operator=(const vtkKOVAPlotSeriesNode&) = delete;
};

#endif
