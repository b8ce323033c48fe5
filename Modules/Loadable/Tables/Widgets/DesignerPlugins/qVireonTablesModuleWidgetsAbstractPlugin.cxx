#include "qVireonTablesModuleWidgetsAbstractPlugin.h"

#include <QIcon>

QString qVireonTablesModuleWidgetsAbstractPlugin::group() const
{
  return QStringLiteral("Vireon [Tables Widgets]");
}

QString qVireonTablesModuleWidgetsAbstractPlugin::toolTip() const
{
  return QString();
}

QString qVireonTablesModuleWidgetsAbstractPlugin::whatsThis() const
{
  return QString();
}

QIcon qVireonTablesModuleWidgetsAbstractPlugin::icon() const
{
  return QIcon();
}
