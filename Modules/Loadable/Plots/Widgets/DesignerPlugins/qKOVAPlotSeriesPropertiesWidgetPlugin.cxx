#include "qKOVAPlotSeriesPropertiesWidgetPlugin.h"

#include "qKOVAPlotSeriesPropertiesWidget.h"

#include <QIcon>

qKOVAPlotSeriesPropertiesWidgetPlugin::qKOVAPlotSeriesPropertiesWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVAPlotSeriesPropertiesWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVAPlotSeriesPropertiesWidget(parent);
}

QString qKOVAPlotSeriesPropertiesWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qKOVAPlotSeriesPropertiesWidget\"           "
                        "name=\"VireonPlotSeriesPropertiesWidget\">\n"
                        "</widget>\n");
}

QString qKOVAPlotSeriesPropertiesWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVAPlotSeriesPropertiesWidget.h");
}

bool qKOVAPlotSeriesPropertiesWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVAPlotSeriesPropertiesWidgetPlugin::name() const
{
  return QStringLiteral("qKOVAPlotSeriesPropertiesWidget");
}
