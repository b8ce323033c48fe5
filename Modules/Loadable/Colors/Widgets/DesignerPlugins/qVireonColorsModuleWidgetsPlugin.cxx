#include "qVireonColorsModuleWidgetsPlugin.h"

#include "qKOVAColorLegendDisplayNodeWidgetPlugin.h"
#include "qKOVAColorListViewPlugin.h"
#include "qKOVAColorTableViewPlugin.h"

qVireonColorsModuleWidgetsPlugin::qVireonColorsModuleWidgetsPlugin() = default;

QList<QDesignerCustomWidgetInterface*> qVireonColorsModuleWidgetsPlugin::customWidgets() const
{
  QList<QDesignerCustomWidgetInterface*> plugins;
  plugins << new qKOVAColorLegendDisplayNodeWidgetPlugin;
  plugins << new qKOVAColorListViewPlugin;
  plugins << new qKOVAColorTableViewPlugin;
  return plugins;
}
