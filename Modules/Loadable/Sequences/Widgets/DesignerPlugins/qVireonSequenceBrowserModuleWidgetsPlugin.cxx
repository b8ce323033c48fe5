#include "qVireonSequenceBrowserModuleWidgetsPlugin.h"

#include "qKOVASequenceBrowserPlayWidgetPlugin.h"
#include "qKOVASequenceBrowserSeekWidgetPlugin.h"
#include "qKOVASequenceBrowserToolBarPlugin.h"
#include "qKOVASequenceEditWidgetPlugin.h"

qVireonSequenceBrowserModuleWidgetsPlugin::qVireonSequenceBrowserModuleWidgetsPlugin() = default;

QList<QDesignerCustomWidgetInterface*> qVireonSequenceBrowserModuleWidgetsPlugin::customWidgets()
  const
{
  QList<QDesignerCustomWidgetInterface*> plugins;
  plugins << new qKOVASequenceBrowserPlayWidgetPlugin;
  plugins << new qKOVASequenceBrowserSeekWidgetPlugin;
  plugins << new qKOVASequenceBrowserToolBarPlugin;
  plugins << new qKOVASequenceEditWidgetPlugin;
  return plugins;
}
