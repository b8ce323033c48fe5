#include "qKOVATextWidgetPlugin.h"

#include "qKOVATextWidget.h"

#include <QIcon>

qKOVATextWidgetPlugin::qKOVATextWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVATextWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVATextWidget(parent);
}

QString qKOVATextWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qKOVATextWidget\"           name=\"TextWidget\">\n"
                        "</widget>\n");
}

QString qKOVATextWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVATextWidget.h");
}

bool qKOVATextWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVATextWidgetPlugin::name() const
{
  return QStringLiteral("qKOVATextWidget");
}
