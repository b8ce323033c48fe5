// Qt Designer plug-in of qKOVASegmentationFileExportWidget.
#ifndef qKOVASegmentationFileExportWidgetPlugin_h
#define qKOVASegmentationFileExportWidgetPlugin_h

#include "qVireonSegmentationsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEGMENTATIONSMODULEWIDGETSPLUGINS_EXPORT qKOVASegmentationFileExportWidgetPlugin
  : public QObject
  , public qVireonSegmentationsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASegmentationFileExportWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
