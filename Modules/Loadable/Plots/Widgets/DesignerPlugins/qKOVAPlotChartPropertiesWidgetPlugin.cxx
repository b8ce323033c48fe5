#include "qKOVAPlotChartPropertiesWidgetPlugin.h"

#include "qKOVAPlotChartPropertiesWidget.h"

#include <QIcon>

qKOVAPlotChartPropertiesWidgetPlugin::qKOVAPlotChartPropertiesWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVAPlotChartPropertiesWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVAPlotChartPropertiesWidget(parent);
}

QString qKOVAPlotChartPropertiesWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qKOVAPlotChartPropertiesWidget\"           "
                        "name=\"VireonPlotChartPropertiesWidget\">\n"
                        "</widget>\n");
}

QString qKOVAPlotChartPropertiesWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVAPlotChartPropertiesWidget.h");
}

bool qKOVAPlotChartPropertiesWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVAPlotChartPropertiesWidgetPlugin::name() const
{
  return QStringLiteral("qKOVAPlotChartPropertiesWidget");
}
