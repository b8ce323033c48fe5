#ifndef vtkVireonPlotsLogic_h
#define vtkVireonPlotsLogic_h

#include "vtkVireonPlotsModuleLogicExport.h"

#include <vtkVireonModuleLogic.h>

class vtkKOVAPlotChartNode;
class vtkKOVAPlotSeriesNode;

/// Logic of the plots module: copies plot series, finds the chart that shows a series, and shows
/// a chart by switching to a layout with a plot view and making the chart the active one.
class VTKVIREONPLOTSMODULELOGIC_EXPORT vtkVireonPlotsLogic : public vtkVireonModuleLogic
{
public:
  static vtkVireonPlotsLogic* New();
  vtkTypeMacro(vtkVireonPlotsLogic, vtkVireonModuleLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Adds a copy of \a source to the source's scene, named after the source with "_Copy" appended
  /// (made unique), and returns it (the scene owns it). Null, with an error, when the source is
  /// null or in no scene. \a name is not used.
  vtkKOVAPlotSeriesNode* CloneSeries(vtkKOVAPlotSeriesNode* source, const char* name);

  /// The first chart of the scene (in scene order) that lists \a seriesNode; null when none does,
  /// for a null series and without a scene.
  vtkKOVAPlotChartNode* GetFirstPlotChartForSeries(vtkKOVAPlotSeriesNode* seriesNode);

  /// Switches the scene's layout node (if any) to a layout with a plot view, makes \a chartNode
  /// (null: none) the selection node's active plot chart and has the application logic show it.
  /// Without an application logic only the layout is switched.
  void ShowChartInLayout(vtkKOVAPlotChartNode* chartNode);

  /// The layout to use so that a plot view shows, given the current layout.
  static int GetLayoutWithPlot(int currentLayout);

protected:
  vtkVireonPlotsLogic();
  ~vtkVireonPlotsLogic() override;

private:
  vtkVireonPlotsLogic(const vtkVireonPlotsLogic&) = delete;
  void operator=(const vtkVireonPlotsLogic&) = delete;
};

#endif
