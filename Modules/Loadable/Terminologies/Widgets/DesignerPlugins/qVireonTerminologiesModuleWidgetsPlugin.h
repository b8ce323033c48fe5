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

  // A new plug-in object per widget, in widget-box order; the caller owns them.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;
};

#endif
