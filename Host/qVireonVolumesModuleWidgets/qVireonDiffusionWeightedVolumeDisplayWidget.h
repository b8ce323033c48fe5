// Stand-in for the host's diffusion weighted volume display widget.
#ifndef qVireonDiffusionWeightedVolumeDisplayWidget_h
#define qVireonDiffusionWeightedVolumeDisplayWidget_h

#include "qVireonVolumesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONVOLUMESMODULEWIDGETS_EXPORT qVireonDiffusionWeightedVolumeDisplayWidget
  : public QWidget
{
  Q_OBJECT
public:
  explicit qVireonDiffusionWeightedVolumeDisplayWidget(QWidget* parent = nullptr);
  ~qVireonDiffusionWeightedVolumeDisplayWidget() override;

private:
  Q_DISABLE_COPY(qVireonDiffusionWeightedVolumeDisplayWidget)
};

#endif
