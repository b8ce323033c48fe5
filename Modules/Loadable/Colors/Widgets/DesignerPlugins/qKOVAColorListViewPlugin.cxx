#include "qKOVAColorListViewPlugin.h"

#include "qKOVAColorListView.h"

#include <QFile>
#include <QIcon>

qKOVAColorListViewPlugin::qKOVAColorListViewPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVAColorListViewPlugin::createWidget(QWidget* parent)
{
  return new qKOVAColorListView(parent);
}

QString qKOVAColorListViewPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qKOVAColorListView\"           name=\"KOVAColorListView\">\n"
    "</widget>\n");
}

QIcon qKOVAColorListViewPlugin::icon() const
{
  // Null unless a host widget library has registered the image.
  const QString path = QStringLiteral(":Icons/listbox.png");
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

QString qKOVAColorListViewPlugin::includeFile() const
{
  return QStringLiteral("qKOVAColorListView.h");
}

bool qKOVAColorListViewPlugin::isContainer() const
{
  return false;
}

QString qKOVAColorListViewPlugin::name() const
{
  return QStringLiteral("qKOVAColorListView");
}
