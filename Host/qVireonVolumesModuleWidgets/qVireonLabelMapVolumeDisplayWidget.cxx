#include "qVireonLabelMapVolumeDisplayWidget.h"

qVireonLabelMapVolumeDisplayWidget::qVireonLabelMapVolumeDisplayWidget(QWidget* parent)
  : QWidget(parent)
{
}

qVireonLabelMapVolumeDisplayWidget::~qVireonLabelMapVolumeDisplayWidget() = default;
