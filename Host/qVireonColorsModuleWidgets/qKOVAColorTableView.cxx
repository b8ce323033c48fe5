#include "qKOVAColorTableView.h"

qKOVAColorTableView::qKOVAColorTableView(QWidget* parent)
  : QWidget(parent)
{
}

qKOVAColorTableView::~qKOVAColorTableView() = default;
