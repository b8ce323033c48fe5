// Stand-in for the host's volume display widget.
#ifndef qVireonVolumeDisplayWidget_h
#define qVireonVolumeDisplayWidget_h

#include "qVireonVolumesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONVOLUMESMODULEWIDGETS_EXPORT qVireonVolumeDisplayWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qVireonVolumeDisplayWidget(QWidget* parent = nullptr);
  ~qVireonVolumeDisplayWidget() override;

private:
  Q_DISABLE_COPY(qVireonVolumeDisplayWidget)
};

#endif
