// Qt Designer plug-in of qKOVASequenceBrowserToolBar.
#ifndef qKOVASequenceBrowserToolBarPlugin_h
#define qKOVASequenceBrowserToolBarPlugin_h

#include "qVireonSequencesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEQUENCESMODULEWIDGETSPLUGINS_EXPORT qKOVASequenceBrowserToolBarPlugin
  : public QObject
  , public qVireonSequencesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASequenceBrowserToolBarPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
