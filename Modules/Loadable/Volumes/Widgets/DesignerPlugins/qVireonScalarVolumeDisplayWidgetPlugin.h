// Qt Designer plug-in of qVireonScalarVolumeDisplayWidget.
#ifndef qVireonScalarVolumeDisplayWidgetPlugin_h
#define qVireonScalarVolumeDisplayWidgetPlugin_h

#include "qVireonVolumesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONVOLUMESMODULEWIDGETSPLUGINS_EXPORT qVireonScalarVolumeDisplayWidgetPlugin
  : public QObject
  , public qVireonVolumesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qVireonScalarVolumeDisplayWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
