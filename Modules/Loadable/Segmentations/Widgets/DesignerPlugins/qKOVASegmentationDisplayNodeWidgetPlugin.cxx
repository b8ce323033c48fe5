#include "qKOVASegmentationDisplayNodeWidgetPlugin.h"

#include "qKOVASegmentationDisplayNodeWidget.h"

#include <QIcon>

qKOVASegmentationDisplayNodeWidgetPlugin::qKOVASegmentationDisplayNodeWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASegmentationDisplayNodeWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVASegmentationDisplayNodeWidget(parent);
}

QString qKOVASegmentationDisplayNodeWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qKOVASegmentationDisplayNodeWidget\"           "
                        "name=\"SegmentationDisplayNodeWidget\">\n"
                        "</widget>\n");
}

QString qKOVASegmentationDisplayNodeWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVASegmentationDisplayNodeWidget.h");
}

bool qKOVASegmentationDisplayNodeWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVASegmentationDisplayNodeWidgetPlugin::name() const
{
  return QStringLiteral("qKOVASegmentationDisplayNodeWidget");
}
