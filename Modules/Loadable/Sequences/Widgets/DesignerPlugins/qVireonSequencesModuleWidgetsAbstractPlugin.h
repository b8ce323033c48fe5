// Common answers of the sequences module's widget plug-ins for Qt Designer.
#ifndef qVireonSequencesModuleWidgetsAbstractPlugin_h
#define qVireonSequencesModuleWidgetsAbstractPlugin_h

#include "qVireonSequencesModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetInterface>

class QVIREONSEQUENCESMODULEWIDGETSPLUGINS_EXPORT qVireonSequencesModuleWidgetsAbstractPlugin
  : public QDesignerCustomWidgetInterface
{
public:
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QIcon icon() const override;
};

#endif
