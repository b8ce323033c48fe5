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

  // A new plug-in object per widget, in widget-box order; the caller owns them.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;
};

#endif
