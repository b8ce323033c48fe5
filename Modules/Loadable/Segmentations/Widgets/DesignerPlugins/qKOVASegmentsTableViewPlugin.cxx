#include "qKOVASegmentsTableViewPlugin.h"

#include "qKOVASegmentsTableView.h"

#include <QIcon>

qKOVASegmentsTableViewPlugin::qKOVASegmentsTableViewPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASegmentsTableViewPlugin::createWidget(QWidget* parent)
{
  return new qKOVASegmentsTableView(parent);
}

QString qKOVASegmentsTableViewPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qKOVASegmentsTableView\"           name=\"SegmentsTableView\">\n"
    "</widget>\n");
}

QString qKOVASegmentsTableViewPlugin::includeFile() const
{
  return QStringLiteral("qKOVASegmentsTableView.h");
}

bool qKOVASegmentsTableViewPlugin::isContainer() const
{
  return false;
}

QString qKOVASegmentsTableViewPlugin::name() const
{
  return QStringLiteral("qKOVASegmentsTableView");
}
