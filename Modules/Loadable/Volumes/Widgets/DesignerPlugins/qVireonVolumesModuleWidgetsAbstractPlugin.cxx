#include "qVireonVolumesModuleWidgetsAbstractPlugin.h"

#include <QIcon>

QString qVireonVolumesModuleWidgetsAbstractPlugin::group() const
{
  return QStringLiteral("Vireon [Volumes Widgets]");
}

QString qVireonVolumesModuleWidgetsAbstractPlugin::toolTip() const
{
  return QString();
}

QString qVireonVolumesModuleWidgetsAbstractPlugin::whatsThis() const
{
  return QString();
}

QIcon qVireonVolumesModuleWidgetsAbstractPlugin::icon() const
{
  return QIcon();
}
