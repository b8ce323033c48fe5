// Qt Designer plug-in of qKOVASequenceBrowserPlayWidget.
#ifndef qKOVASequenceBrowserPlayWidgetPlugin_h
#define qKOVASequenceBrowserPlayWidgetPlugin_h

#include "qVireonSequencesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEQUENCESMODULEWIDGETSPLUGINS_EXPORT qKOVASequenceBrowserPlayWidgetPlugin
  : public QObject
  , public qVireonSequencesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASequenceBrowserPlayWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
