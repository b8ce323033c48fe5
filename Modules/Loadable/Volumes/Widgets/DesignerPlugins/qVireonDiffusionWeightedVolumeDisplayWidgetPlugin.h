// Qt Designer plug-in of qVireonDiffusionWeightedVolumeDisplayWidget.
#ifndef qVireonDiffusionWeightedVolumeDisplayWidgetPlugin_h
#define qVireonDiffusionWeightedVolumeDisplayWidgetPlugin_h

#include "qVireonVolumesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONVOLUMESMODULEWIDGETSPLUGINS_EXPORT qVireonDiffusionWeightedVolumeDisplayWidgetPlugin
  : public QObject
  , public qVireonVolumesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qVireonDiffusionWeightedVolumeDisplayWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
