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

  // A new plug-in object per widget, in widget-box order; the caller owns them.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;
};

#endif
