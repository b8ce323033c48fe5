#include "qKOVAColorLegendDisplayNodeWidget.h"

qKOVAColorLegendDisplayNodeWidget::qKOVAColorLegendDisplayNodeWidget(QWidget* parent)
  : QWidget(parent)
{
}

qKOVAColorLegendDisplayNodeWidget::~qKOVAColorLegendDisplayNodeWidget() = default;
