#include "qVireonTextsModuleWidgetsAbstractPlugin.h"

#include <QIcon>

QString qVireonTextsModuleWidgetsAbstractPlugin::group() const
{
  return QStringLiteral("Vireon [Texts Widgets]");
}

QString qVireonTextsModuleWidgetsAbstractPlugin::toolTip() const
{
  return QString();
}

QString qVireonTextsModuleWidgetsAbstractPlugin::whatsThis() const
{
  return QString();
}

QIcon qVireonTextsModuleWidgetsAbstractPlugin::icon() const
{
  return QIcon();
}
