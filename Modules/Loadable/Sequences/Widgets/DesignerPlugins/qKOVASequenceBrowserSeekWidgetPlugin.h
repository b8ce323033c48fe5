// Qt Designer plug-in of qKOVASequenceBrowserSeekWidget.
#ifndef qKOVASequenceBrowserSeekWidgetPlugin_h
#define qKOVASequenceBrowserSeekWidgetPlugin_h

#include "qVireonSequencesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEQUENCESMODULEWIDGETSPLUGINS_EXPORT qKOVASequenceBrowserSeekWidgetPlugin
  : public QObject
  , public qVireonSequencesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASequenceBrowserSeekWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
