// Qt Designer plug-in of qKOVASegmentSelectorWidget.
#ifndef qKOVASegmentSelectorWidgetPlugin_h
#define qKOVASegmentSelectorWidgetPlugin_h

#include "qVireonSegmentationsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEGMENTATIONSMODULEWIDGETSPLUGINS_EXPORT qKOVASegmentSelectorWidgetPlugin
  : public QObject
  , public qVireonSegmentationsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASegmentSelectorWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
