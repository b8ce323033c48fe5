// Qt Designer collection of the sequences module's widgets.
#ifndef qVireonSequenceBrowserModuleWidgetsPlugin_h
#define qVireonSequenceBrowserModuleWidgetsPlugin_h

#include "qVireonSequencesModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QObject>

class QVIREONSEQUENCESMODULEWIDGETSPLUGINS_EXPORT qVireonSequenceBrowserModuleWidgetsPlugin
  : public QObject
  , public QDesignerCustomWidgetCollectionInterface
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
  qVireonSequenceBrowserModuleWidgetsPlugin();

  // One plug-in object per widget, in widget-box order, owned by the collection: every call
  // returns the same objects.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
  QList<QDesignerCustomWidgetInterface*> Plugins;
};

#endif
