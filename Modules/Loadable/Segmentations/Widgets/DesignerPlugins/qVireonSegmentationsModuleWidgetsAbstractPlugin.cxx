#include "qVireonSegmentationsModuleWidgetsAbstractPlugin.h"

#include <QIcon>

QString qVireonSegmentationsModuleWidgetsAbstractPlugin::group() const
{
  return QStringLiteral("Vireon [Segmentations Widgets]");
}

QString qVireonSegmentationsModuleWidgetsAbstractPlugin::toolTip() const
{
  return QString();
}

QString qVireonSegmentationsModuleWidgetsAbstractPlugin::whatsThis() const
{
  return QString();
}

QIcon qVireonSegmentationsModuleWidgetsAbstractPlugin::icon() const
{
  return QIcon();
}
