#include "qVireonScalarVolumeDisplayWidgetPlugin.h"

#include "qVireonScalarVolumeDisplayWidget.h"

#include <QIcon>

qVireonScalarVolumeDisplayWidgetPlugin::qVireonScalarVolumeDisplayWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qVireonScalarVolumeDisplayWidgetPlugin::createWidget(QWidget* parent)
{
  return new qVireonScalarVolumeDisplayWidget(parent);
}

QString qVireonScalarVolumeDisplayWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qVireonScalarVolumeDisplayWidget\"           name=\"VolumeDisplayWidget\">\n"
    "</widget>\n");
}

QString qVireonScalarVolumeDisplayWidgetPlugin::includeFile() const
{
  return QStringLiteral("qVireonScalarVolumeDisplayWidget.h");
}

bool qVireonScalarVolumeDisplayWidgetPlugin::isContainer() const
{
  return false;
}

QString qVireonScalarVolumeDisplayWidgetPlugin::name() const
{
  return QStringLiteral("qVireonScalarVolumeDisplayWidget");
}
