#include "qVireonVolumeDisplayWidgetPlugin.h"

#include "qVireonVolumeDisplayWidget.h"

#include <QIcon>

qVireonVolumeDisplayWidgetPlugin::qVireonVolumeDisplayWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qVireonVolumeDisplayWidgetPlugin::createWidget(QWidget* parent)
{
  return new qVireonVolumeDisplayWidget(parent);
}

QString qVireonVolumeDisplayWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qVireonVolumeDisplayWidget\"           name=\"VolumeDisplayWidget\">\n"
    "</widget>\n");
}

QString qVireonVolumeDisplayWidgetPlugin::includeFile() const
{
  return QStringLiteral("qVireonVolumeDisplayWidget.h");
}

bool qVireonVolumeDisplayWidgetPlugin::isContainer() const
{
  return false;
}

QString qVireonVolumeDisplayWidgetPlugin::name() const
{
  return QStringLiteral("qVireonVolumeDisplayWidget");
}
