#include "qVireonTablesModuleWidgetsPlugin.h"

#include "qVireonTableColumnPropertiesWidgetPlugin.h"

// The plug-in objects are made once and belong to the collection (their parent): Designer and the
// form builders keep the pointers that customWidgets() hands out and never delete them.
qVireonTablesModuleWidgetsPlugin::qVireonTablesModuleWidgetsPlugin()
{
  this->Plugins << new qVireonTableColumnPropertiesWidgetPlugin(this);
}

QList<QDesignerCustomWidgetInterface*> qVireonTablesModuleWidgetsPlugin::customWidgets() const
{
  return this->Plugins;
}
