#include "qVireonSegmentationsModuleWidgetsPlugin.h"

#include "qKOVASegmentEditorWidgetPlugin.h"
#include "qKOVASegmentSelectorWidgetPlugin.h"
#include "qKOVASegmentationConversionParametersWidgetPlugin.h"
#include "qKOVASegmentationDisplayNodeWidgetPlugin.h"
#include "qKOVASegmentationFileExportWidgetPlugin.h"
#include "qKOVASegmentationRepresentationsListViewPlugin.h"
#include "qKOVASegmentationShow3DButtonPlugin.h"
#include "qKOVASegmentsTableViewPlugin.h"

// The plug-in objects are made once and belong to the collection (their parent): Designer and the
// form builders keep the pointers that customWidgets() hands out and never delete them.
qVireonSegmentationsModuleWidgetsPlugin::qVireonSegmentationsModuleWidgetsPlugin()
{
  this->Plugins << new qKOVASegmentsTableViewPlugin(this);
  this->Plugins << new qKOVASegmentationRepresentationsListViewPlugin(this);
  this->Plugins << new qKOVASegmentationConversionParametersWidgetPlugin(this);
  this->Plugins << new qKOVASegmentSelectorWidgetPlugin(this);
  this->Plugins << new qKOVASegmentEditorWidgetPlugin(this);
  this->Plugins << new qKOVASegmentationDisplayNodeWidgetPlugin(this);
  this->Plugins << new qKOVASegmentationFileExportWidgetPlugin(this);
  this->Plugins << new qKOVASegmentationShow3DButtonPlugin(this);
}

QList<QDesignerCustomWidgetInterface*> qVireonSegmentationsModuleWidgetsPlugin::customWidgets()
  const
{
  return this->Plugins;
}
