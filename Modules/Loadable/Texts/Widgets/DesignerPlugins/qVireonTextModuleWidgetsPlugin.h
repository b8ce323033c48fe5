// Qt Designer collection of the texts module's widgets.
#ifndef qVireonTextModuleWidgetsPlugin_h
#define qVireonTextModuleWidgetsPlugin_h

#include "qVireonTextsModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QObject>

class QVIREONTEXTSMODULEWIDGETSPLUGINS_EXPORT qVireonTextModuleWidgetsPlugin
  : public QObject
  , public QDesignerCustomWidgetCollectionInterface
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
  qVireonTextModuleWidgetsPlugin();

  // A new plug-in object per widget, in widget-box order; the caller owns them.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;
};

#endif
