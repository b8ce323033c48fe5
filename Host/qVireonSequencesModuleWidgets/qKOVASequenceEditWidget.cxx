#include "qKOVASequenceEditWidget.h"

qKOVASequenceEditWidget::qKOVASequenceEditWidget(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASequenceEditWidget::~qKOVASequenceEditWidget() = default;
