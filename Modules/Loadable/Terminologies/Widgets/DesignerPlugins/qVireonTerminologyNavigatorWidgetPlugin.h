// Qt Designer plug-in of qVireonTerminologyNavigatorWidget.
#ifndef qVireonTerminologyNavigatorWidgetPlugin_h
#define qVireonTerminologyNavigatorWidgetPlugin_h

#include "qVireonTerminologiesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONTERMINOLOGIESMODULEWIDGETSPLUGINS_EXPORT qVireonTerminologyNavigatorWidgetPlugin
  : public QObject
  , public qVireonTerminologiesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qVireonTerminologyNavigatorWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
