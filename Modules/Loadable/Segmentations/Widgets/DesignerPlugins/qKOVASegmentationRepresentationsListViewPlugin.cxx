#include "qKOVASegmentationRepresentationsListViewPlugin.h"

#include "qKOVASegmentationRepresentationsListView.h"

#include <QIcon>

qKOVASegmentationRepresentationsListViewPlugin::qKOVASegmentationRepresentationsListViewPlugin(
  QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASegmentationRepresentationsListViewPlugin::createWidget(QWidget* parent)
{
  return new qKOVASegmentationRepresentationsListView(parent);
}

QString qKOVASegmentationRepresentationsListViewPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qKOVASegmentationRepresentationsListView\"           "
                        "name=\"SegmentationRepresentationsListView\">\n"
                        "</widget>\n");
}

QString qKOVASegmentationRepresentationsListViewPlugin::includeFile() const
{
  return QStringLiteral("qKOVASegmentationRepresentationsListView.h");
}

bool qKOVASegmentationRepresentationsListViewPlugin::isContainer() const
{
  return false;
}

QString qKOVASegmentationRepresentationsListViewPlugin::name() const
{
  return QStringLiteral("qKOVASegmentationRepresentationsListView");
}
