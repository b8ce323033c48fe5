#include "qVireonDiffusionTensorVolumeDisplayWidget.h"

qVireonDiffusionTensorVolumeDisplayWidget::qVireonDiffusionTensorVolumeDisplayWidget(
  QWidget* parent)
  : QWidget(parent)
{
}

qVireonDiffusionTensorVolumeDisplayWidget::~qVireonDiffusionTensorVolumeDisplayWidget() = default;
