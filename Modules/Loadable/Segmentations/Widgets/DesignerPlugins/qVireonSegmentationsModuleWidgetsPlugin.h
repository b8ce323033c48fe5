// Qt Designer collection of the segmentations module's widgets.
#ifndef qVireonSegmentationsModuleWidgetsPlugin_h
#define qVireonSegmentationsModuleWidgetsPlugin_h

#include "qVireonSegmentationsModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QObject>

class QVIREONSEGMENTATIONSMODULEWIDGETSPLUGINS_EXPORT qVireonSegmentationsModuleWidgetsPlugin
  : public QObject
  , public QDesignerCustomWidgetCollectionInterface
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
  qVireonSegmentationsModuleWidgetsPlugin();

  // One plug-in object per widget, in widget-box order, owned by the collection: every call
  // returns the same objects.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
  QList<QDesignerCustomWidgetInterface*> Plugins;
};

#endif
