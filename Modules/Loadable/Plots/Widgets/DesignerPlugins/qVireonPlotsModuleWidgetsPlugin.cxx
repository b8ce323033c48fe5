#include "qVireonPlotsModuleWidgetsPlugin.h"

#include "qKOVAPlotChartPropertiesWidgetPlugin.h"
#include "qKOVAPlotSeriesPropertiesWidgetPlugin.h"

// The plug-in objects are made once and belong to the collection (their parent): Designer and the
// form builders keep the pointers that customWidgets() hands out and never delete them.
qVireonPlotsModuleWidgetsPlugin::qVireonPlotsModuleWidgetsPlugin()
{
  this->Plugins << new qKOVAPlotChartPropertiesWidgetPlugin(this);
  this->Plugins << new qKOVAPlotSeriesPropertiesWidgetPlugin(this);
}

QList<QDesignerCustomWidgetInterface*> qVireonPlotsModuleWidgetsPlugin::customWidgets() const
{
  return this->Plugins;
}
