// Stand-in for the host's plot series properties widget.
#ifndef qKOVAPlotSeriesPropertiesWidget_h
#define qKOVAPlotSeriesPropertiesWidget_h

#include "qVireonPlotsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONPLOTSMODULEWIDGETS_EXPORT qKOVAPlotSeriesPropertiesWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVAPlotSeriesPropertiesWidget(QWidget* parent = nullptr);
  ~qKOVAPlotSeriesPropertiesWidget() override;

private:
  Q_DISABLE_COPY(qKOVAPlotSeriesPropertiesWidget)
};

#endif
