#include "qVireonLoadableModule.h"

qVireonLoadableModule::qVireonLoadableModule(QObject* parent)
  : qVireonAbstractModule(parent)
{
}

qVireonLoadableModule::~qVireonLoadableModule() = default;

QString qVireonLoadableModule::interfaceId()
{
  return QStringLiteral(qVireonLoadableModule_iid);
}

void qVireonLoadableModule::setup()
{
  // Nothing is shared by all loadable modules in this host.
}
