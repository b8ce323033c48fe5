// Stand-in for the host's segmentation representations list view.
#ifndef qKOVASegmentationRepresentationsListView_h
#define qKOVASegmentationRepresentationsListView_h

#include "qVireonSegmentationsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONSEGMENTATIONSMODULEWIDGETS_EXPORT qKOVASegmentationRepresentationsListView
  : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASegmentationRepresentationsListView(QWidget* parent = nullptr);
  ~qKOVASegmentationRepresentationsListView() override;

private:
  Q_DISABLE_COPY(qKOVASegmentationRepresentationsListView)
};

#endif
