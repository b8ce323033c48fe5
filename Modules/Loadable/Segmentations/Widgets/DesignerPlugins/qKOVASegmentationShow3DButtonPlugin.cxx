#include "qKOVASegmentationShow3DButtonPlugin.h"

#include "qKOVASegmentationShow3DButton.h"

#include <QIcon>

qKOVASegmentationShow3DButtonPlugin::qKOVASegmentationShow3DButtonPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASegmentationShow3DButtonPlugin::createWidget(QWidget* parent)
{
  return new qKOVASegmentationShow3DButton(parent);
}

QString qKOVASegmentationShow3DButtonPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qKOVASegmentationShow3DButton\"           name=\"SegmentationShow3DButton\">\n"
    "</widget>\n");
}

QString qKOVASegmentationShow3DButtonPlugin::includeFile() const
{
  return QStringLiteral("qKOVASegmentationShow3DButton.h");
}

bool qKOVASegmentationShow3DButtonPlugin::isContainer() const
{
  return false;
}

QString qKOVASegmentationShow3DButtonPlugin::name() const
{
  return QStringLiteral("qKOVASegmentationShow3DButton");
}
