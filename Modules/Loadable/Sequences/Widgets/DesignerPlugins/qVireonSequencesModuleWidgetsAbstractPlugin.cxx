#include "qVireonSequencesModuleWidgetsAbstractPlugin.h"

#include <QIcon>

QString qVireonSequencesModuleWidgetsAbstractPlugin::group() const
{
  return QStringLiteral("Vireon [Sequence Browser Widgets]");
}

QString qVireonSequencesModuleWidgetsAbstractPlugin::toolTip() const
{
  return QString();
}

QString qVireonSequencesModuleWidgetsAbstractPlugin::whatsThis() const
{
  return QString();
}

QIcon qVireonSequencesModuleWidgetsAbstractPlugin::icon() const
{
  return QIcon();
}
