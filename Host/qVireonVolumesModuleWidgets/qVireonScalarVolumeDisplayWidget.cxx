#include "qVireonScalarVolumeDisplayWidget.h"

qVireonScalarVolumeDisplayWidget::qVireonScalarVolumeDisplayWidget(QWidget* parent)
  : QWidget(parent)
{
}

qVireonScalarVolumeDisplayWidget::~qVireonScalarVolumeDisplayWidget() = default;
