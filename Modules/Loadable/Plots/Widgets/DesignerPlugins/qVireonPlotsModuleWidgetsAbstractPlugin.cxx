#include "qVireonPlotsModuleWidgetsAbstractPlugin.h"

#include <QIcon>

QString qVireonPlotsModuleWidgetsAbstractPlugin::group() const
{
  return QStringLiteral("Vireon [Plots Widgets]");
}

QString qVireonPlotsModuleWidgetsAbstractPlugin::toolTip() const
{
  return QString();
}

QString qVireonPlotsModuleWidgetsAbstractPlugin::whatsThis() const
{
  return QString();
}

QIcon qVireonPlotsModuleWidgetsAbstractPlugin::icon() const
{
  return QIcon();
}
