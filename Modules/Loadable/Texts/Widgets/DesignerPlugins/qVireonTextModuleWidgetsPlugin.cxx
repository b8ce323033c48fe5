#include "qVireonTextModuleWidgetsPlugin.h"

#include "qKOVATextWidgetPlugin.h"

qVireonTextModuleWidgetsPlugin::qVireonTextModuleWidgetsPlugin() = default;

QList<QDesignerCustomWidgetInterface*> qVireonTextModuleWidgetsPlugin::customWidgets() const
{
  QList<QDesignerCustomWidgetInterface*> plugins;
  plugins << new qKOVATextWidgetPlugin;
  return plugins;
}
