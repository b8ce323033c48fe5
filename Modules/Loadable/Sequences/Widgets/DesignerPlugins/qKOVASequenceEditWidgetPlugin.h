// Qt Designer plug-in of qKOVASequenceEditWidget.
#ifndef qKOVASequenceEditWidgetPlugin_h
#define qKOVASequenceEditWidgetPlugin_h

#include "qVireonSequencesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEQUENCESMODULEWIDGETSPLUGINS_EXPORT qKOVASequenceEditWidgetPlugin
  : public QObject
  , public qVireonSequencesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASequenceEditWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
