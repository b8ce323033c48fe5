#include "qKOVASegmentsTableView.h"

qKOVASegmentsTableView::qKOVASegmentsTableView(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASegmentsTableView::~qKOVASegmentsTableView() = default;
