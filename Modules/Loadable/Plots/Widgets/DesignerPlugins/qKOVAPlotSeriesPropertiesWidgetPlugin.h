// Qt Designer plug-in of qKOVAPlotSeriesPropertiesWidget.
#ifndef qKOVAPlotSeriesPropertiesWidgetPlugin_h
#define qKOVAPlotSeriesPropertiesWidgetPlugin_h

#include "qVireonPlotsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONPLOTSMODULEWIDGETSPLUGINS_EXPORT qKOVAPlotSeriesPropertiesWidgetPlugin
  : public QObject
  , public qVireonPlotsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVAPlotSeriesPropertiesWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
