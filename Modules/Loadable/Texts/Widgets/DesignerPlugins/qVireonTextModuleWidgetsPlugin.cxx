#include "qVireonTextModuleWidgetsPlugin.h"

#include "qKOVATextWidgetPlugin.h"

// The plug-in objects are made once and belong to the collection (their parent): Designer and the
// form builders keep the pointers that customWidgets() hands out and never delete them.
qVireonTextModuleWidgetsPlugin::qVireonTextModuleWidgetsPlugin()
{
  this->Plugins << new qKOVATextWidgetPlugin(this);
}

QList<QDesignerCustomWidgetInterface*> qVireonTextModuleWidgetsPlugin::customWidgets() const
{
  return this->Plugins;
}
