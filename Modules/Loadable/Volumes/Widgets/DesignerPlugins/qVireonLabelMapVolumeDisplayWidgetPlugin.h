// Qt Designer plug-in of qVireonLabelMapVolumeDisplayWidget.
#ifndef qVireonLabelMapVolumeDisplayWidgetPlugin_h
#define qVireonLabelMapVolumeDisplayWidgetPlugin_h

#include "qVireonVolumesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONVOLUMESMODULEWIDGETSPLUGINS_EXPORT qVireonLabelMapVolumeDisplayWidgetPlugin
  : public QObject
  , public qVireonVolumesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qVireonLabelMapVolumeDisplayWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
