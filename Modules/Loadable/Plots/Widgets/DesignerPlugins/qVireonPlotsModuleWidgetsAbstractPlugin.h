// Common answers of the plots module's widget plug-ins for Qt Designer.
#ifndef qVireonPlotsModuleWidgetsAbstractPlugin_h
#define qVireonPlotsModuleWidgetsAbstractPlugin_h

#include "qVireonPlotsModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetInterface>

class QVIREONPLOTSMODULEWIDGETSPLUGINS_EXPORT qVireonPlotsModuleWidgetsAbstractPlugin
  : public QDesignerCustomWidgetInterface
{
public:
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QIcon icon() const override;
};

#endif
