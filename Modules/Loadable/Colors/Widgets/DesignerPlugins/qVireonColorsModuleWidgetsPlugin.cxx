#include "qVireonColorsModuleWidgetsPlugin.h"

#include "qKOVAColorLegendDisplayNodeWidgetPlugin.h"
#include "qKOVAColorListViewPlugin.h"
#include "qKOVAColorTableViewPlugin.h"

// The plug-in objects are made once and belong to the collection (their parent): Designer and the
// form builders keep the pointers that customWidgets() hands out and never delete them.
qVireonColorsModuleWidgetsPlugin::qVireonColorsModuleWidgetsPlugin()
{
  this->Plugins << new qKOVAColorLegendDisplayNodeWidgetPlugin(this);
  this->Plugins << new qKOVAColorListViewPlugin(this);
  this->Plugins << new qKOVAColorTableViewPlugin(this);
}

QList<QDesignerCustomWidgetInterface*> qVireonColorsModuleWidgetsPlugin::customWidgets() const
{
  return this->Plugins;
}
