// Stand-in for the host's segmentation display node widget.
#ifndef qKOVASegmentationDisplayNodeWidget_h
#define qKOVASegmentationDisplayNodeWidget_h

#include "qVireonSegmentationsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONSEGMENTATIONSMODULEWIDGETS_EXPORT qKOVASegmentationDisplayNodeWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASegmentationDisplayNodeWidget(QWidget* parent = nullptr);
  ~qKOVASegmentationDisplayNodeWidget() override;

private:
  Q_DISABLE_COPY(qKOVASegmentationDisplayNodeWidget)
};

#endif
