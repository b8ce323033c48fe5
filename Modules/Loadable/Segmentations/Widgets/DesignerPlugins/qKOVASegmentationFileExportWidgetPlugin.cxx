#include "qKOVASegmentationFileExportWidgetPlugin.h"

#include "qKOVASegmentationFileExportWidget.h"

#include <QIcon>

qKOVASegmentationFileExportWidgetPlugin::qKOVASegmentationFileExportWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASegmentationFileExportWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVASegmentationFileExportWidget(parent);
}

QString qKOVASegmentationFileExportWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<ui language=\"c++\">\n"
    "<widget class=\"qKOVASegmentationFileExportWidget\" name=\"SegmentationFileExportWidget\">\n"
    "  <property name=\"settingsKey\"> <string notr=\"true\"/> </property>\n"
    "</widget>\n"
    "</ui>\n");
}

QString qKOVASegmentationFileExportWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVASegmentationFileExportWidget.h");
}

bool qKOVASegmentationFileExportWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVASegmentationFileExportWidgetPlugin::name() const
{
  return QStringLiteral("qKOVASegmentationFileExportWidget");
}
