#include "qVireonSequenceBrowserModuleWidgetsPlugin.h"

#include "qKOVASequenceBrowserPlayWidgetPlugin.h"
#include "qKOVASequenceBrowserSeekWidgetPlugin.h"
#include "qKOVASequenceBrowserToolBarPlugin.h"
#include "qKOVASequenceEditWidgetPlugin.h"

// The plug-in objects are made once and belong to the collection (their parent): Designer and the
// form builders keep the pointers that customWidgets() hands out and never delete them.
qVireonSequenceBrowserModuleWidgetsPlugin::qVireonSequenceBrowserModuleWidgetsPlugin()
{
  this->Plugins << new qKOVASequenceBrowserPlayWidgetPlugin(this);
  this->Plugins << new qKOVASequenceBrowserSeekWidgetPlugin(this);
  this->Plugins << new qKOVASequenceBrowserToolBarPlugin(this);
  this->Plugins << new qKOVASequenceEditWidgetPlugin(this);
}

QList<QDesignerCustomWidgetInterface*> qVireonSequenceBrowserModuleWidgetsPlugin::customWidgets()
  const
{
  return this->Plugins;
}
