// Qt Designer plug-in of qVireonDTISliceDisplayWidget.
#ifndef qVireonDTISliceDisplayWidgetPlugin_h
#define qVireonDTISliceDisplayWidgetPlugin_h

#include "qVireonVolumesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONVOLUMESMODULEWIDGETSPLUGINS_EXPORT qVireonDTISliceDisplayWidgetPlugin
  : public QObject
  , public qVireonVolumesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qVireonDTISliceDisplayWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
