#include "qKOVASequenceBrowserSeekWidget.h"

qKOVASequenceBrowserSeekWidget::qKOVASequenceBrowserSeekWidget(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASequenceBrowserSeekWidget::~qKOVASequenceBrowserSeekWidget() = default;
