// Qt Designer collection of the volumes module's widgets.
#ifndef qVireonVolumesModuleWidgetsPlugin_h
#define qVireonVolumesModuleWidgetsPlugin_h

#include "qVireonVolumesModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QObject>

class QVIREONVOLUMESMODULEWIDGETSPLUGINS_EXPORT qVireonVolumesModuleWidgetsPlugin
  : public QObject
  , public QDesignerCustomWidgetCollectionInterface
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
  qVireonVolumesModuleWidgetsPlugin();

  // One plug-in object per widget, in widget-box order, owned by the collection: every call
  // returns the same objects.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
  QList<QDesignerCustomWidgetInterface*> Plugins;
};

#endif
