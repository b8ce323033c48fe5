#include "qVireonVolumesModuleWidgetsPlugin.h"

#include "qVireonDTISliceDisplayWidgetPlugin.h"
#include "qVireonDiffusionTensorVolumeDisplayWidgetPlugin.h"
#include "qVireonDiffusionWeightedVolumeDisplayWidgetPlugin.h"
#include "qVireonLabelMapVolumeDisplayWidgetPlugin.h"
#include "qVireonScalarVolumeDisplayWidgetPlugin.h"
#include "qVireonVolumeDisplayWidgetPlugin.h"

// The plug-in objects are made once and belong to the collection (their parent): Designer and the
// form builders keep the pointers that customWidgets() hands out and never delete them.
qVireonVolumesModuleWidgetsPlugin::qVireonVolumesModuleWidgetsPlugin()
{
  this->Plugins << new qVireonDiffusionTensorVolumeDisplayWidgetPlugin(this);
  this->Plugins << new qVireonDiffusionWeightedVolumeDisplayWidgetPlugin(this);
  this->Plugins << new qVireonDTISliceDisplayWidgetPlugin(this);
  this->Plugins << new qVireonLabelMapVolumeDisplayWidgetPlugin(this);
  this->Plugins << new qVireonScalarVolumeDisplayWidgetPlugin(this);
  this->Plugins << new qVireonVolumeDisplayWidgetPlugin(this);
}

QList<QDesignerCustomWidgetInterface*> qVireonVolumesModuleWidgetsPlugin::customWidgets() const
{
  return this->Plugins;
}
