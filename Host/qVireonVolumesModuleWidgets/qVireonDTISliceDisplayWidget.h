// Stand-in for the host's DTI slice display widget.
#ifndef qVireonDTISliceDisplayWidget_h
#define qVireonDTISliceDisplayWidget_h

#include "qVireonVolumesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONVOLUMESMODULEWIDGETS_EXPORT qVireonDTISliceDisplayWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qVireonDTISliceDisplayWidget(QWidget* parent = nullptr);
  ~qVireonDTISliceDisplayWidget() override;

private:
  Q_DISABLE_COPY(qVireonDTISliceDisplayWidget)
};

#endif
