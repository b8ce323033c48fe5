#include "qVireonDTISliceDisplayWidgetPlugin.h"

#include "qVireonDTISliceDisplayWidget.h"

#include <QIcon>

qVireonDTISliceDisplayWidgetPlugin::qVireonDTISliceDisplayWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qVireonDTISliceDisplayWidgetPlugin::createWidget(QWidget* parent)
{
  return new qVireonDTISliceDisplayWidget(parent);
}

QString qVireonDTISliceDisplayWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qVireonDTISliceDisplayWidget\"           name=\"VolumeDisplayWidget\">\n"
    "</widget>\n");
}

QString qVireonDTISliceDisplayWidgetPlugin::includeFile() const
{
  return QStringLiteral("qVireonDTISliceDisplayWidget.h");
}

bool qVireonDTISliceDisplayWidgetPlugin::isContainer() const
{
  return false;
}

QString qVireonDTISliceDisplayWidgetPlugin::name() const
{
  return QStringLiteral("qVireonDTISliceDisplayWidget");
}
