#include "qVireonTerminologiesModuleWidgetsAbstractPlugin.h"

#include <QIcon>

QString qVireonTerminologiesModuleWidgetsAbstractPlugin::group() const
{
  return QStringLiteral("Vireon [Terminologies Widgets]");
}

QString qVireonTerminologiesModuleWidgetsAbstractPlugin::toolTip() const
{
  return QString();
}

QString qVireonTerminologiesModuleWidgetsAbstractPlugin::whatsThis() const
{
  return QString();
}

QIcon qVireonTerminologiesModuleWidgetsAbstractPlugin::icon() const
{
  return QIcon();
}
