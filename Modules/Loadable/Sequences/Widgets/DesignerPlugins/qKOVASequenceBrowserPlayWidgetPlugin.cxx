#include "qKOVASequenceBrowserPlayWidgetPlugin.h"

#include "qKOVASequenceBrowserPlayWidget.h"

#include <QIcon>

qKOVASequenceBrowserPlayWidgetPlugin::qKOVASequenceBrowserPlayWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASequenceBrowserPlayWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVASequenceBrowserPlayWidget(parent);
}

QString qKOVASequenceBrowserPlayWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qKOVASequenceBrowserPlayWidget\"           "
                        "name=\"SequenceBrowserPlayWidget\">\n"
                        "</widget>\n");
}

QString qKOVASequenceBrowserPlayWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVASequenceBrowserPlayWidget.h");
}

bool qKOVASequenceBrowserPlayWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVASequenceBrowserPlayWidgetPlugin::name() const
{
  return QStringLiteral("qKOVASequenceBrowserPlayWidget");
}
