#include "qVireonLabelMapVolumeDisplayWidgetPlugin.h"

#include "qVireonLabelMapVolumeDisplayWidget.h"

#include <QIcon>

qVireonLabelMapVolumeDisplayWidgetPlugin::qVireonLabelMapVolumeDisplayWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qVireonLabelMapVolumeDisplayWidgetPlugin::createWidget(QWidget* parent)
{
  return new qVireonLabelMapVolumeDisplayWidget(parent);
}

QString qVireonLabelMapVolumeDisplayWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qVireonLabelMapVolumeDisplayWidget\"           name=\"VolumeDisplayWidget\">\n"
    "</widget>\n");
}

QString qVireonLabelMapVolumeDisplayWidgetPlugin::includeFile() const
{
  return QStringLiteral("qVireonLabelMapVolumeDisplayWidget.h");
}

bool qVireonLabelMapVolumeDisplayWidgetPlugin::isContainer() const
{
  return false;
}

QString qVireonLabelMapVolumeDisplayWidgetPlugin::name() const
{
  return QStringLiteral("qVireonLabelMapVolumeDisplayWidget");
}
