#include "qKOVAColorLegendDisplayNodeWidgetPlugin.h"

#include "qKOVAColorLegendDisplayNodeWidget.h"

#include <QFile>
#include <QIcon>

qKOVAColorLegendDisplayNodeWidgetPlugin::qKOVAColorLegendDisplayNodeWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVAColorLegendDisplayNodeWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVAColorLegendDisplayNodeWidget(parent);
}

QString qKOVAColorLegendDisplayNodeWidgetPlugin::domXml() const
{
  return QStringLiteral("<widget class=\"qKOVAColorLegendDisplayNodeWidget\"           "
                        "name=\"ColorLegendDisplayNodeWidget\">\n"
                        " <property name=\"geometry\">\n"
                        "  <rect>\n"
                        "   <x>0</x>\n"
                        "   <y>0</y>\n"
                        "   <width>200</width>\n"
                        "   <height>200</height>\n"
                        "  </rect>\n"
                        " </property>\n"
                        "</widget>\n");
}

QString qKOVAColorLegendDisplayNodeWidgetPlugin::group() const
{
  return QStringLiteral("Vireon [KOVA Widgets]");
}

QIcon qKOVAColorLegendDisplayNodeWidgetPlugin::icon() const
{
  // Null unless a host widget library has registered the image.
  const QString path = QStringLiteral(":/Icons/Colors.png");
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

QString qKOVAColorLegendDisplayNodeWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVAColorLegendDisplayNodeWidget.h");
}

bool qKOVAColorLegendDisplayNodeWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVAColorLegendDisplayNodeWidgetPlugin::name() const
{
  return QStringLiteral("qKOVAColorLegendDisplayNodeWidget");
}
