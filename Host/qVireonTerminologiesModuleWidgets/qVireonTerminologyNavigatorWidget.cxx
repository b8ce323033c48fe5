#include "qVireonTerminologyNavigatorWidget.h"

qVireonTerminologyNavigatorWidget::qVireonTerminologyNavigatorWidget(QWidget* parent)
  : QWidget(parent)
{
}

qVireonTerminologyNavigatorWidget::~qVireonTerminologyNavigatorWidget() = default;
