#include "qKOVASegmentationRepresentationsListView.h"

qKOVASegmentationRepresentationsListView::qKOVASegmentationRepresentationsListView(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASegmentationRepresentationsListView::~qKOVASegmentationRepresentationsListView() = default;
