// Qt Designer plug-in of qKOVASegmentationConversionParametersWidget.
#ifndef qKOVASegmentationConversionParametersWidgetPlugin_h
#define qKOVASegmentationConversionParametersWidgetPlugin_h

#include "qVireonSegmentationsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEGMENTATIONSMODULEWIDGETSPLUGINS_EXPORT
  qKOVASegmentationConversionParametersWidgetPlugin
  : public QObject
  , public qVireonSegmentationsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASegmentationConversionParametersWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
