#include "qKOVASegmentEditorWidgetPlugin.h"

#include "qKOVASegmentEditorWidget.h"

#include <QIcon>

qKOVASegmentEditorWidgetPlugin::qKOVASegmentEditorWidgetPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASegmentEditorWidgetPlugin::createWidget(QWidget* parent)
{
  return new qKOVASegmentEditorWidget(parent);
}

QString qKOVASegmentEditorWidgetPlugin::domXml() const
{
  return QStringLiteral(
    "<ui language=\"c++\">\n"
    "<widget class=\"qKOVASegmentEditorWidget\" name=\"SegmentEditorWidget\">\n"
    "  <property name=\"defaultTerminologyEntrySettingsKey\"> <string notr=\"true\"/> </property>\n"
    "</widget>\n"
    "</ui>\n");
}

QString qKOVASegmentEditorWidgetPlugin::includeFile() const
{
  return QStringLiteral("qKOVASegmentEditorWidget.h");
}

bool qKOVASegmentEditorWidgetPlugin::isContainer() const
{
  return false;
}

QString qKOVASegmentEditorWidgetPlugin::name() const
{
  return QStringLiteral("qKOVASegmentEditorWidget");
}
