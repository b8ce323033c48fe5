#include "qVireonVolumesModuleWidgetsPlugin.h"

#include "qVireonDTISliceDisplayWidgetPlugin.h"
#include "qVireonDiffusionTensorVolumeDisplayWidgetPlugin.h"
#include "qVireonDiffusionWeightedVolumeDisplayWidgetPlugin.h"
#include "qVireonLabelMapVolumeDisplayWidgetPlugin.h"
#include "qVireonScalarVolumeDisplayWidgetPlugin.h"
#include "qVireonVolumeDisplayWidgetPlugin.h"

qVireonVolumesModuleWidgetsPlugin::qVireonVolumesModuleWidgetsPlugin() = default;

QList<QDesignerCustomWidgetInterface*> qVireonVolumesModuleWidgetsPlugin::customWidgets() const
{
  QList<QDesignerCustomWidgetInterface*> plugins;
  plugins << new qVireonDiffusionTensorVolumeDisplayWidgetPlugin;
  plugins << new qVireonDiffusionWeightedVolumeDisplayWidgetPlugin;
  plugins << new qVireonDTISliceDisplayWidgetPlugin;
  plugins << new qVireonLabelMapVolumeDisplayWidgetPlugin;
  plugins << new qVireonScalarVolumeDisplayWidgetPlugin;
  plugins << new qVireonVolumeDisplayWidgetPlugin;
  return plugins;
}
