// Qt Designer plug-in of qKOVASegmentationDisplayNodeWidget.
#ifndef qKOVASegmentationDisplayNodeWidgetPlugin_h
#define qKOVASegmentationDisplayNodeWidgetPlugin_h

#include "qVireonSegmentationsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEGMENTATIONSMODULEWIDGETSPLUGINS_EXPORT qKOVASegmentationDisplayNodeWidgetPlugin
  : public QObject
  , public qVireonSegmentationsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASegmentationDisplayNodeWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
