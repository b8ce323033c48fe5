// Stand-in for the host's color legend display node widget.
#ifndef qKOVAColorLegendDisplayNodeWidget_h
#define qKOVAColorLegendDisplayNodeWidget_h

#include "qVireonColorsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONCOLORSMODULEWIDGETS_EXPORT qKOVAColorLegendDisplayNodeWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVAColorLegendDisplayNodeWidget(QWidget* parent = nullptr);
  ~qKOVAColorLegendDisplayNodeWidget() override;

private:
  Q_DISABLE_COPY(qKOVAColorLegendDisplayNodeWidget)
};

#endif
