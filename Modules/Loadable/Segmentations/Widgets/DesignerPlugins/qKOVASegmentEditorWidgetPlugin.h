// Qt Designer plug-in of qKOVASegmentEditorWidget.
#ifndef qKOVASegmentEditorWidgetPlugin_h
#define qKOVASegmentEditorWidgetPlugin_h

#include "qVireonSegmentationsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEGMENTATIONSMODULEWIDGETSPLUGINS_EXPORT qKOVASegmentEditorWidgetPlugin
  : public QObject
  , public qVireonSegmentationsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASegmentEditorWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
