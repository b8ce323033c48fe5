#include "qKOVASequenceBrowserToolBarPlugin.h"

#include "qKOVASequenceBrowserToolBar.h"

#include <QIcon>

qKOVASequenceBrowserToolBarPlugin::qKOVASequenceBrowserToolBarPlugin(QObject* parent)
  : QObject(parent)
{
}

QWidget* qKOVASequenceBrowserToolBarPlugin::createWidget(QWidget* parent)
{
  return new qKOVASequenceBrowserToolBar(parent);
}

QString qKOVASequenceBrowserToolBarPlugin::domXml() const
{
  return QStringLiteral(
    "<widget class=\"qKOVASequenceBrowserToolBar\"           name=\"KOVASequenceBrowserToolBar\">\n"
    "</widget>\n");
}

QString qKOVASequenceBrowserToolBarPlugin::includeFile() const
{
  return QStringLiteral("qKOVASequenceBrowserToolBar.h");
}

bool qKOVASequenceBrowserToolBarPlugin::isContainer() const
{
  return false;
}

QString qKOVASequenceBrowserToolBarPlugin::name() const
{
  return QStringLiteral("qKOVASequenceBrowserToolBar");
}
