#include "qKOVASegmentationConversionParametersWidgetPlugin.h"

#include "qKOVASegmentationConversionParametersWidget.h"

#include <QIcon>

qKOVASegmentationConversionParametersWidgetPlugin::
  qKOVASegmentationConversionParametersWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASegmentationConversionParametersWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVASegmentationConversionParametersWidget(parent);
}

QString qKOVASegmentationConversionParametersWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<ui language=\"c++\">\n"
    "<widget class=\"qKOVASegmentationConversionParametersWidget\" "
    "name=\"SegmentationConversionParametersWidget\">\n"
    "  <property name=\"targetRepresentationName\"> <string notr=\"true\"/> </property>\n"
    "</widget>\n"
    "</ui>\n");
}

QString qKOVASegmentationConversionParametersWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVASegmentationConversionParametersWidget.h");
}

bool qKOVASegmentationConversionParametersWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVASegmentationConversionParametersWidgetPlugin::name() const
{
  return QStringLiteral("qKOVASegmentationConversionParametersWidget");
}
