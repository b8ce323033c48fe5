#include "qVireonVolumeDisplayWidget.h"

qVireonVolumeDisplayWidget::qVireonVolumeDisplayWidget(QWidget* parent)
  : QWidget(parent)
{
}

qVireonVolumeDisplayWidget::~qVireonVolumeDisplayWidget() = default;
