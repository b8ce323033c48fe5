#include "qKOVAColorTableViewPlugin.h"

#include "qKOVAColorTableView.h"

#include <QFile>
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
  // Null unless a host widget library has registered the image.
  const QString path = QStringLiteral(":Icons/table.png");
  return QFile::exists(path) ? QIcon(path) : QIcon();
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
