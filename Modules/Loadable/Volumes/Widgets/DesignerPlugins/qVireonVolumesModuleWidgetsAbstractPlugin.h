// Common answers of the volumes module's widget plug-ins for Qt Designer.
#ifndef qVireonVolumesModuleWidgetsAbstractPlugin_h
#define qVireonVolumesModuleWidgetsAbstractPlugin_h

#include "qVireonVolumesModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetInterface>

class QVIREONVOLUMESMODULEWIDGETSPLUGINS_EXPORT qVireonVolumesModuleWidgetsAbstractPlugin
  : public QDesignerCustomWidgetInterface
{
public:
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QIcon icon() const override;
};

#endif
