#include "qVireonDiffusionTensorVolumeDisplayWidgetPlugin.h"

#include "qVireonDiffusionTensorVolumeDisplayWidget.h"

#include <QIcon>

qVireonDiffusionTensorVolumeDisplayWidgetPlugin::qVireonDiffusionTensorVolumeDisplayWidgetPlugin(
  QObject* parent)
  : QObject(parent)
{
}

QWidget* qVireonDiffusionTensorVolumeDisplayWidgetPlugin::createWidget(QWidget* parent)
{
  return new qVireonDiffusionTensorVolumeDisplayWidget(parent);
}

QString qVireonDiffusionTensorVolumeDisplayWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qVireonDiffusionTensorVolumeDisplayWidget\"           "
                        "name=\"VolumeDisplayWidget\">\n"
                        "</widget>\n");
}

QString qVireonDiffusionTensorVolumeDisplayWidgetPlugin::includeFile() const
{
  return QStringLiteral("qVireonDiffusionTensorVolumeDisplayWidget.h");
}

bool qVireonDiffusionTensorVolumeDisplayWidgetPlugin::isContainer() const
{
  return false;
}

QString qVireonDiffusionTensorVolumeDisplayWidgetPlugin::name() const
{
  return QStringLiteral("qVireonDiffusionTensorVolumeDisplayWidget");
}
