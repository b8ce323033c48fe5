// Stand-in for the host's diffusion tensor volume display widget.
#ifndef qVireonDiffusionTensorVolumeDisplayWidget_h
#define qVireonDiffusionTensorVolumeDisplayWidget_h

#include "qVireonVolumesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONVOLUMESMODULEWIDGETS_EXPORT qVireonDiffusionTensorVolumeDisplayWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qVireonDiffusionTensorVolumeDisplayWidget(QWidget* parent = nullptr);
  ~qVireonDiffusionTensorVolumeDisplayWidget() override;

private:
  Q_DISABLE_COPY(qVireonDiffusionTensorVolumeDisplayWidget)
};

#endif
