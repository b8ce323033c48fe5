// Qt Designer plug-in of qKOVASegmentationRepresentationsListView.
#ifndef qKOVASegmentationRepresentationsListViewPlugin_h
#define qKOVASegmentationRepresentationsListViewPlugin_h

#include "qVireonSegmentationsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONSEGMENTATIONSMODULEWIDGETSPLUGINS_EXPORT qKOVASegmentationRepresentationsListViewPlugin
  : public QObject
  , public qVireonSegmentationsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVASegmentationRepresentationsListViewPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
