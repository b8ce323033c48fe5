// Common answers of the texts module's widget plug-ins for Qt Designer.
#ifndef qVireonTextsModuleWidgetsAbstractPlugin_h
#define qVireonTextsModuleWidgetsAbstractPlugin_h

#include "qVireonTextsModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetInterface>

class QVIREONTEXTSMODULEWIDGETSPLUGINS_EXPORT qVireonTextsModuleWidgetsAbstractPlugin
  : public QDesignerCustomWidgetInterface
{
public:
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QIcon icon() const override;
};

#endif
