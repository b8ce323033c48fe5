// Qt Designer plug-in of qKOVATextWidget.
#ifndef qKOVATextWidgetPlugin_h
#define qKOVATextWidgetPlugin_h

#include "qVireonTextsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONTEXTSMODULEWIDGETSPLUGINS_EXPORT qKOVATextWidgetPlugin
  : public QObject
  , public qVireonTextsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVATextWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
