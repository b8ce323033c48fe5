#include "qKOVAPlotSeriesPropertiesWidget.h"

qKOVAPlotSeriesPropertiesWidget::qKOVAPlotSeriesPropertiesWidget(QWidget* parent)
  : QWidget(parent)
{
}

qKOVAPlotSeriesPropertiesWidget::~qKOVAPlotSeriesPropertiesWidget() = default;
