// Stand-in for the host's segmentation Show3 D button.
#ifndef qKOVASegmentationShow3DButton_h
#define qKOVASegmentationShow3DButton_h

#include "qVireonSegmentationsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONSEGMENTATIONSMODULEWIDGETS_EXPORT qKOVASegmentationShow3DButton : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASegmentationShow3DButton(QWidget* parent = nullptr);
  ~qKOVASegmentationShow3DButton() override;

private:
  Q_DISABLE_COPY(qKOVASegmentationShow3DButton)
};

#endif
