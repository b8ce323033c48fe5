// Qt Designer plug-in of qVireonDiffusionTensorVolumeDisplayWidget.
#ifndef qVireonDiffusionTensorVolumeDisplayWidgetPlugin_h
#define qVireonDiffusionTensorVolumeDisplayWidgetPlugin_h

#include "qVireonVolumesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONVOLUMESMODULEWIDGETSPLUGINS_EXPORT qVireonDiffusionTensorVolumeDisplayWidgetPlugin
  : public QObject
  , public qVireonVolumesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qVireonDiffusionTensorVolumeDisplayWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
