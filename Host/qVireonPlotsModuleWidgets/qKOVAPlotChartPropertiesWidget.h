// Stand-in for the host's plot chart properties widget.
#ifndef qKOVAPlotChartPropertiesWidget_h
#define qKOVAPlotChartPropertiesWidget_h

#include "qVireonPlotsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONPLOTSMODULEWIDGETS_EXPORT qKOVAPlotChartPropertiesWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVAPlotChartPropertiesWidget(QWidget* parent = nullptr);
  ~qKOVAPlotChartPropertiesWidget() override;

private:
  Q_DISABLE_COPY(qKOVAPlotChartPropertiesWidget)
};

#endif
