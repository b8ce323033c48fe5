#include "qKOVAPlotChartPropertiesWidget.h"

qKOVAPlotChartPropertiesWidget::qKOVAPlotChartPropertiesWidget(QWidget* parent)
  : QWidget(parent)
{
}

qKOVAPlotChartPropertiesWidget::~qKOVAPlotChartPropertiesWidget() = default;
