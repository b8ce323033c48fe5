#include "qVireonColorsModuleWidgetsAbstractPlugin.h"

#include <QIcon>

QString qVireonColorsModuleWidgetsAbstractPlugin::group() const
{
  return QStringLiteral("Vireon [Colors Widgets]");
}

QString qVireonColorsModuleWidgetsAbstractPlugin::toolTip() const
{
  return QString();
}

QString qVireonColorsModuleWidgetsAbstractPlugin::whatsThis() const
{
  return QString();
}

QIcon qVireonColorsModuleWidgetsAbstractPlugin::icon() const
{
  return QIcon();
}
