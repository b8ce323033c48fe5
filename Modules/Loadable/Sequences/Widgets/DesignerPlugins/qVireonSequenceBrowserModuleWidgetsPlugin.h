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

  // A new plug-in object per widget, in widget-box order; the caller owns them.
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;
};

#endif
