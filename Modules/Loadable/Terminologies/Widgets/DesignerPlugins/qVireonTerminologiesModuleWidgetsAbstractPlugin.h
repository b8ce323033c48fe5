// Common answers of the terminologies module's widget plug-ins for Qt Designer.
#ifndef qVireonTerminologiesModuleWidgetsAbstractPlugin_h
#define qVireonTerminologiesModuleWidgetsAbstractPlugin_h

#include "qVireonTerminologiesModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetInterface>

class QVIREONTERMINOLOGIESMODULEWIDGETSPLUGINS_EXPORT
  qVireonTerminologiesModuleWidgetsAbstractPlugin : public QDesignerCustomWidgetInterface
{
public:
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QIcon icon() const override;
};

#endif
