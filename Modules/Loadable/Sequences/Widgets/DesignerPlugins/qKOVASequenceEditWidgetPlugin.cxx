#include "qKOVASequenceEditWidgetPlugin.h"

#include "qKOVASequenceEditWidget.h"

#include <QIcon>

qKOVASequenceEditWidgetPlugin::qKOVASequenceEditWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASequenceEditWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVASequenceEditWidget(parent);
}

QString qKOVASequenceEditWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qKOVASequenceEditWidget\"           name=\"SequenceEditWidget\">\n"
    "</widget>\n");
}

QString qKOVASequenceEditWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVASequenceEditWidget.h");
}

bool qKOVASequenceEditWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVASequenceEditWidgetPlugin::name() const
{
  return QStringLiteral("qKOVASequenceEditWidget");
}
