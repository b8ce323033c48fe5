#include "qVireonTerminologiesModuleWidgetsPlugin.h"

#include "qVireonTerminologyNavigatorWidgetPlugin.h"

// The plug-in objects are made once and belong to the collection (their parent): Designer and the
// form builders keep the pointers that customWidgets() hands out and never delete them.
qVireonTerminologiesModuleWidgetsPlugin::qVireonTerminologiesModuleWidgetsPlugin()
{
  this->Plugins << new qVireonTerminologyNavigatorWidgetPlugin(this);
}

QList<QDesignerCustomWidgetInterface*> qVireonTerminologiesModuleWidgetsPlugin::customWidgets()
  const
{
  return this->Plugins;
}
