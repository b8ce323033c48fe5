#include "qVireonAbstractModule.h"

qVireonAbstractModule::qVireonAbstractModule(QObject* parent)
  : qVireonAbstractCoreModule(parent)
{
}

qVireonAbstractModule::~qVireonAbstractModule() = default;

QIcon qVireonAbstractModule::icon() const
{
  return QIcon();
}

QImage qVireonAbstractModule::logo() const
{
  return QImage();
}
