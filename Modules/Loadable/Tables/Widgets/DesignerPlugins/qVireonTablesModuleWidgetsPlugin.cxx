#include "qVireonTablesModuleWidgetsPlugin.h"

#include "qVireonTableColumnPropertiesWidgetPlugin.h"

qVireonTablesModuleWidgetsPlugin::qVireonTablesModuleWidgetsPlugin() = default;

QList<QDesignerCustomWidgetInterface*> qVireonTablesModuleWidgetsPlugin::customWidgets() const
{
  QList<QDesignerCustomWidgetInterface*> plugins;
  plugins << new qVireonTableColumnPropertiesWidgetPlugin;
  return plugins;
}
