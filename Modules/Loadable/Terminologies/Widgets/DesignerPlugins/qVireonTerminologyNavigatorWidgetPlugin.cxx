#include "qVireonTerminologyNavigatorWidgetPlugin.h"

#include "qVireonTerminologyNavigatorWidget.h"

#include <QIcon>

qVireonTerminologyNavigatorWidgetPlugin::qVireonTerminologyNavigatorWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qVireonTerminologyNavigatorWidgetPlugin::createWidget(QWidget* parent)
{
  return new qVireonTerminologyNavigatorWidget(parent);
}

QString qVireonTerminologyNavigatorWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qVireonTerminologyNavigatorWidget\"           "
                        "name=\"TerminologyNavigatorWidget\">\n"
                        "</widget>\n");
}

QString qVireonTerminologyNavigatorWidgetPlugin::includeFile() const
{
  return QStringLiteral("qVireonTerminologyNavigatorWidget.h");
}

bool qVireonTerminologyNavigatorWidgetPlugin::isContainer() const
{
  return false;
}

QString qVireonTerminologyNavigatorWidgetPlugin::name() const
{
  return QStringLiteral("qVireonTerminologyNavigatorWidget");
}
