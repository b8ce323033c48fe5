#include "qKOVAColorTableViewPlugin.h"

#include "qKOVAColorTableView.h"

#include <QIcon>

qKOVAColorTableViewPlugin::qKOVAColorTableViewPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVAColorTableViewPlugin::createWidget(QWidget* parent)
{
  return new qKOVAColorTableView(parent);
}

QString qKOVAColorTableViewPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qKOVAColorTableView\"           name=\"KOVAColorTableView\">\n"
    "</widget>\n");
}

QIcon qKOVAColorTableViewPlugin::icon() const
{
  return QIcon(QStringLiteral(":Icons/table.png"));
}

QString qKOVAColorTableViewPlugin::includeFile() const
{
  return QStringLiteral("qKOVAColorTableView.h");
}

bool qKOVAColorTableViewPlugin::isContainer() const
{
  return false;
}

QString qKOVAColorTableViewPlugin::name() const
{
  return QStringLiteral("qKOVAColorTableView");
}
