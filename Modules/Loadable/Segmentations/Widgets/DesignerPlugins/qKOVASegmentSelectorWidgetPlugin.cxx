#include "qKOVASegmentSelectorWidgetPlugin.h"

#include "qKOVASegmentSelectorWidget.h"

#include <QIcon>

qKOVASegmentSelectorWidgetPlugin::qKOVASegmentSelectorWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASegmentSelectorWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVASegmentSelectorWidget(parent);
}

QString qKOVASegmentSelectorWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qKOVASegmentSelectorWidget\"           name=\"SegmentSelectorWidget\">\n"
    "</widget>\n");
}

QString qKOVASegmentSelectorWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVASegmentSelectorWidget.h");
}

bool qKOVASegmentSelectorWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVASegmentSelectorWidgetPlugin::name() const
{
  return QStringLiteral("qKOVASegmentSelectorWidget");
}
