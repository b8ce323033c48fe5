#include "qVireonTableColumnPropertiesWidgetPlugin.h"

#include "qVireonTableColumnPropertiesWidget.h"

#include <QIcon>

qVireonTableColumnPropertiesWidgetPlugin::qVireonTableColumnPropertiesWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qVireonTableColumnPropertiesWidgetPlugin::createWidget(QWidget* parent)
{
  return new qVireonTableColumnPropertiesWidget(parent);
}

QString qVireonTableColumnPropertiesWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qVireonTableColumnPropertiesWidget\"           "
                        "name=\"VireonTableColumnPropertiesWidget\">\n"
                        "</widget>\n");
}

QString qVireonTableColumnPropertiesWidgetPlugin::includeFile() const
{
  return QStringLiteral("qVireonTableColumnPropertiesWidget.h");
}

bool qVireonTableColumnPropertiesWidgetPlugin::isContainer() const
{
  return false;
}

QString qVireonTableColumnPropertiesWidgetPlugin::name() const
{
  return QStringLiteral("qVireonTableColumnPropertiesWidget");
}
