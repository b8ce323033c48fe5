#include "qVireonTableColumnPropertiesWidget.h"

qVireonTableColumnPropertiesWidget::qVireonTableColumnPropertiesWidget(QWidget* parent)
  : QWidget(parent)
{
}

qVireonTableColumnPropertiesWidget::~qVireonTableColumnPropertiesWidget() = default;
