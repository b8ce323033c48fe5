// Common answers of the tables module's widget plug-ins for Qt Designer.
#ifndef qVireonTablesModuleWidgetsAbstractPlugin_h
#define qVireonTablesModuleWidgetsAbstractPlugin_h

#include "qVireonTablesModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetInterface>

class QVIREONTABLESMODULEWIDGETSPLUGINS_EXPORT qVireonTablesModuleWidgetsAbstractPlugin
  : public QDesignerCustomWidgetInterface
{
public:
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QIcon icon() const override;
};

#endif
