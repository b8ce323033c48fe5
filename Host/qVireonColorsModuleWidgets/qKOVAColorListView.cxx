#include "qKOVAColorListView.h"

qKOVAColorListView::qKOVAColorListView(QWidget* parent)
  : QWidget(parent)
{
}

qKOVAColorListView::~qKOVAColorListView() = default;
