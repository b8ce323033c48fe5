#include "qKOVASegmentationDisplayNodeWidget.h"

qKOVASegmentationDisplayNodeWidget::qKOVASegmentationDisplayNodeWidget(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASegmentationDisplayNodeWidget::~qKOVASegmentationDisplayNodeWidget() = default;
