#include "qVireonDiffusionWeightedVolumeDisplayWidget.h"

qVireonDiffusionWeightedVolumeDisplayWidget::qVireonDiffusionWeightedVolumeDisplayWidget(
  QWidget* parent)
  : QWidget(parent)
{
}

qVireonDiffusionWeightedVolumeDisplayWidget::~qVireonDiffusionWeightedVolumeDisplayWidget() =
  default;
