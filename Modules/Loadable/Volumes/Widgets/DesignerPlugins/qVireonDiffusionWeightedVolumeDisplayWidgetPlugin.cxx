#include "qVireonDiffusionWeightedVolumeDisplayWidgetPlugin.h"

#include "qVireonDiffusionWeightedVolumeDisplayWidget.h"

#include <QIcon>

qVireonDiffusionWeightedVolumeDisplayWidgetPlugin::
  qVireonDiffusionWeightedVolumeDisplayWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qVireonDiffusionWeightedVolumeDisplayWidgetPlugin::createWidget(QWidget* parent)
{
  return new qVireonDiffusionWeightedVolumeDisplayWidget(parent);
}

QString qVireonDiffusionWeightedVolumeDisplayWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qVireonDiffusionWeightedVolumeDisplayWidget\"           "
                        "name=\"VolumeDisplayWidget\">\n"
                        "</widget>\n");
}

QString qVireonDiffusionWeightedVolumeDisplayWidgetPlugin::includeFile() const
{
  return QStringLiteral("qVireonDiffusionWeightedVolumeDisplayWidget.h");
}

bool qVireonDiffusionWeightedVolumeDisplayWidgetPlugin::isContainer() const
{
  return false;
}

QString qVireonDiffusionWeightedVolumeDisplayWidgetPlugin::name() const
{
  return QStringLiteral("qVireonDiffusionWeightedVolumeDisplayWidget");
}
