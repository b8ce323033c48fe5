#include "qKOVASequenceBrowserSeekWidgetPlugin.h"

#include "qKOVASequenceBrowserSeekWidget.h"

#include <QIcon>

qKOVASequenceBrowserSeekWidgetPlugin::qKOVASequenceBrowserSeekWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASequenceBrowserSeekWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVASequenceBrowserSeekWidget(parent);
}

QString qKOVASequenceBrowserSeekWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qKOVASequenceBrowserSeekWidget\"           "
                        "name=\"SequenceBrowserSeekWidget\">\n"
                        "</widget>\n");
}

QString qKOVASequenceBrowserSeekWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVASequenceBrowserSeekWidget.h");
}

bool qKOVASequenceBrowserSeekWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVASequenceBrowserSeekWidgetPlugin::name() const
{
  return QStringLiteral("qKOVASequenceBrowserSeekWidget");
}
