// Qt Designer plug-in of qKOVAColorLegendDisplayNodeWidget.
#ifndef qKOVAColorLegendDisplayNodeWidgetPlugin_h
#define qKOVAColorLegendDisplayNodeWidgetPlugin_h

#include "qVireonColorsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONCOLORSMODULEWIDGETSPLUGINS_EXPORT qKOVAColorLegendDisplayNodeWidgetPlugin
  : public QObject
  , public qVireonColorsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVAColorLegendDisplayNodeWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString group() const override;
  QIcon icon() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
