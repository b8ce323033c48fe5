#include "qVireonPlotsModuleWidgetsPlugin.h"

#include "qKOVAPlotChartPropertiesWidgetPlugin.h"
#include "qKOVAPlotSeriesPropertiesWidgetPlugin.h"

qVireonPlotsModuleWidgetsPlugin::qVireonPlotsModuleWidgetsPlugin() = default;

QList<QDesignerCustomWidgetInterface*> qVireonPlotsModuleWidgetsPlugin::customWidgets() const
{
  QList<QDesignerCustomWidgetInterface*> plugins;
  plugins << new qKOVAPlotChartPropertiesWidgetPlugin;
  plugins << new qKOVAPlotSeriesPropertiesWidgetPlugin;
  return plugins;
}
