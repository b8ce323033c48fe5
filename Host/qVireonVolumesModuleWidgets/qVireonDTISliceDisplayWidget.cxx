#include "qVireonDTISliceDisplayWidget.h"

qVireonDTISliceDisplayWidget::qVireonDTISliceDisplayWidget(QWidget* parent)
  : QWidget(parent)
{
}

qVireonDTISliceDisplayWidget::~qVireonDTISliceDisplayWidget() = default;
