#include "qVireonTerminologiesModuleWidgetsPlugin.h"

#include "qVireonTerminologyNavigatorWidgetPlugin.h"

qVireonTerminologiesModuleWidgetsPlugin::qVireonTerminologiesModuleWidgetsPlugin() = default;

QList<QDesignerCustomWidgetInterface*> qVireonTerminologiesModuleWidgetsPlugin::customWidgets()
  const
{
  QList<QDesignerCustomWidgetInterface*> plugins;
  plugins << new qVireonTerminologyNavigatorWidgetPlugin;
  return plugins;
}
