// Qt Designer collection of the tables module's widgets.
#ifndef qVireonTablesModuleWidgetsPlugin_h
#define qVireonTablesModuleWidgetsPlugin_h

#include "qVireonTablesModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QObject>

class QVIREONTABLESMODULEWIDGETSPLUGINS_EXPORT qVireonTablesModuleWidgetsPlugin
  : public QObject
  , public QDesignerCustomWidgetCollectionInterface
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
  qVireonTablesModuleWidgetsPlugin();

  // One plug-in object per widget, in widget-box order, owned by the collection: every call
  // returns the same objects.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
  QList<QDesignerCustomWidgetInterface*> Plugins;
};

#endif
