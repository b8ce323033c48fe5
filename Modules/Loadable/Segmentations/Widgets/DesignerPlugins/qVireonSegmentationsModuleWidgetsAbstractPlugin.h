// Common answers of the segmentations module's widget plug-ins for Qt Designer.
#ifndef qVireonSegmentationsModuleWidgetsAbstractPlugin_h
#define qVireonSegmentationsModuleWidgetsAbstractPlugin_h

#include "qVireonSegmentationsModuleWidgetsPluginsExport.h"

#include <QDesignerCustomWidgetInterface>

class QVIREONSEGMENTATIONSMODULEWIDGETSPLUGINS_EXPORT
  qVireonSegmentationsModuleWidgetsAbstractPlugin : public QDesignerCustomWidgetInterface
{
public:
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QIcon icon() const override;
};

#endif
