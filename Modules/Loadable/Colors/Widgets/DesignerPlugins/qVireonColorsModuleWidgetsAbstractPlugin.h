// Common answers of the colors module's widget plug-ins for Qt Designer.
#ifndef qVireonColorsModuleWidgetsAbstractPlugin_h
#define qVireonColorsModuleWidgetsAbstractPlugin_h

#include "qVireonColorsModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetInterface>

class QVIREONCOLORSMODULEWIDGETSPLUGINS_EXPORT qVireonColorsModuleWidgetsAbstractPlugin
  : public QDesignerCustomWidgetInterface
{
public:
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QIcon icon() const override;
};

#endif
