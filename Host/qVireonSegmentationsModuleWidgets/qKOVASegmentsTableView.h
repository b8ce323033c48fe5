// Stand-in for the host's segments table view.
#ifndef qKOVASegmentsTableView_h
#define qKOVASegmentsTableView_h

#include "qVireonSegmentationsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONSEGMENTATIONSMODULEWIDGETS_EXPORT qKOVASegmentsTableView : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASegmentsTableView(QWidget* parent = nullptr);
  ~qKOVASegmentsTableView() override;

private:
  Q_DISABLE_COPY(qKOVASegmentsTableView)
};

#endif
