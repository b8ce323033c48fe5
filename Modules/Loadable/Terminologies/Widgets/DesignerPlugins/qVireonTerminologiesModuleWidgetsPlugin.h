// Qt Designer collection of the terminologies module's widgets.
#ifndef qVireonTerminologiesModuleWidgetsPlugin_h
#define qVireonTerminologiesModuleWidgetsPlugin_h

#include "qVireonTerminologiesModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QObject>

class QVIREONTERMINOLOGIESMODULEWIDGETSPLUGINS_EXPORT qVireonTerminologiesModuleWidgetsPlugin
  : public QObject
  , public QDesignerCustomWidgetCollectionInterface
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
  qVireonTerminologiesModuleWidgetsPlugin();

  // One plug-in object per widget, in widget-box order, owned by the collection: every call
  // returns the same objects.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
  QList<QDesignerCustomWidgetInterface*> Plugins;
};

#endif
