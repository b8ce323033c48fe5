// Qt Designer plug-in of qKOVAPlotChartPropertiesWidget.
#ifndef qKOVAPlotChartPropertiesWidgetPlugin_h
#define qKOVAPlotChartPropertiesWidgetPlugin_h

#include "qVireonPlotsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONPLOTSMODULEWIDGETSPLUGINS_EXPORT qKOVAPlotChartPropertiesWidgetPlugin
  : public QObject
  , public qVireonPlotsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVAPlotChartPropertiesWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
