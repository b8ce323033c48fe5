// Stand-in for the host's label map volume display widget.
#ifndef qVireonLabelMapVolumeDisplayWidget_h
#define qVireonLabelMapVolumeDisplayWidget_h

#include "qVireonVolumesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONVOLUMESMODULEWIDGETS_EXPORT qVireonLabelMapVolumeDisplayWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qVireonLabelMapVolumeDisplayWidget(QWidget* parent = nullptr);
  ~qVireonLabelMapVolumeDisplayWidget() override;

private:
  Q_DISABLE_COPY(qVireonLabelMapVolumeDisplayWidget)
};

#endif
