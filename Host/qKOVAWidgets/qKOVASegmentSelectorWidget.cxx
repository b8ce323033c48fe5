#include "qKOVASegmentSelectorWidget.h"

qKOVASegmentSelectorWidget::qKOVASegmentSelectorWidget(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASegmentSelectorWidget::~qKOVASegmentSelectorWidget() = default;
