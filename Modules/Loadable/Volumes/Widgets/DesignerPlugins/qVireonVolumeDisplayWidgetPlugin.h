// Qt Designer plug-in of qVireonVolumeDisplayWidget.
#ifndef qVireonVolumeDisplayWidgetPlugin_h
#define qVireonVolumeDisplayWidgetPlugin_h

#include "qVireonVolumesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONVOLUMESMODULEWIDGETSPLUGINS_EXPORT qVireonVolumeDisplayWidgetPlugin
  : public QObject
  , public qVireonVolumesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qVireonVolumeDisplayWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
