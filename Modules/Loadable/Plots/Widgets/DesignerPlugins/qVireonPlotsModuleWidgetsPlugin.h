// Qt Designer collection of the plots module's widgets.
#ifndef qVireonPlotsModuleWidgetsPlugin_h
#define qVireonPlotsModuleWidgetsPlugin_h

#include "qVireonPlotsModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QObject>

class QVIREONPLOTSMODULEWIDGETSPLUGINS_EXPORT qVireonPlotsModuleWidgetsPlugin
  : public QObject
  , public QDesignerCustomWidgetCollectionInterface
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
  qVireonPlotsModuleWidgetsPlugin();

  // One plug-in object per widget, in widget-box order, owned by the collection: every call
  // returns the same objects.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
  QList<QDesignerCustomWidgetInterface*> Plugins;
};

#endif
