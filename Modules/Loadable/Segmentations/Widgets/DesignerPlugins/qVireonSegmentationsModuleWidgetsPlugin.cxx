#include "qVireonSegmentationsModuleWidgetsPlugin.h"

#include "qKOVASegmentEditorWidgetPlugin.h"
#include "qKOVASegmentSelectorWidgetPlugin.h"
#include "qKOVASegmentationConversionParametersWidgetPlugin.h"
#include "qKOVASegmentationDisplayNodeWidgetPlugin.h"
#include "qKOVASegmentationFileExportWidgetPlugin.h"
#include "qKOVASegmentationRepresentationsListViewPlugin.h"
#include "qKOVASegmentationShow3DButtonPlugin.h"
#include "qKOVASegmentsTableViewPlugin.h"

qVireonSegmentationsModuleWidgetsPlugin::qVireonSegmentationsModuleWidgetsPlugin() = default;

QList<QDesignerCustomWidgetInterface*> qVireonSegmentationsModuleWidgetsPlugin::customWidgets()
  const
{
  QList<QDesignerCustomWidgetInterface*> plugins;
  plugins << new qKOVASegmentsTableViewPlugin;
  plugins << new qKOVASegmentationRepresentationsListViewPlugin;
  plugins << new qKOVASegmentationConversionParametersWidgetPlugin;
  plugins << new qKOVASegmentSelectorWidgetPlugin;
  plugins << new qKOVASegmentEditorWidgetPlugin;
  plugins << new qKOVASegmentationDisplayNodeWidgetPlugin;
  plugins << new qKOVASegmentationFileExportWidgetPlugin;
  plugins << new qKOVASegmentationShow3DButtonPlugin;
  return plugins;
}
