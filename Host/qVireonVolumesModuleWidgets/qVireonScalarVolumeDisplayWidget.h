// Stand-in for the host's scalar volume display widget.
#ifndef qVireonScalarVolumeDisplayWidget_h
#define qVireonScalarVolumeDisplayWidget_h

#include "qVireonVolumesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONVOLUMESMODULEWIDGETS_EXPORT qVireonScalarVolumeDisplayWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qVireonScalarVolumeDisplayWidget(QWidget* parent = nullptr);
  ~qVireonScalarVolumeDisplayWidget() override;

private:
  Q_DISABLE_COPY(qVireonScalarVolumeDisplayWidget)
};

#endif
