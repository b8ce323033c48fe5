#include "qKOVASequenceBrowserPlayWidget.h"

qKOVASequenceBrowserPlayWidget::qKOVASequenceBrowserPlayWidget(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASequenceBrowserPlayWidget::~qKOVASequenceBrowserPlayWidget() = default;
