#include "qVireonGeneralizedReformatModule.h"

#include <vtkVireonGeneralizedReformatLogic.h>

class qVireonGeneralizedReformatModulePrivate
{
};

//------------------------------------------------------------------------------
qVireonGeneralizedReformatModule::qVireonGeneralizedReformatModule(QObject* parent)
  : Superclass(parent)
  , d_ptr(new qVireonGeneralizedReformatModulePrivate)
{
  this->setWidgetRepresentationCreationEnabled(false);
}

qVireonGeneralizedReformatModule::~qVireonGeneralizedReformatModule() = default;

//------------------------------------------------------------------------------
QString qVireonGeneralizedReformatModule::staticTitle()
{
  return tr("GeneralizedReformat");
}

QString qVireonGeneralizedReformatModule::title() const
{
  return staticTitle();
}

QStringList qVireonGeneralizedReformatModule::categories() const
{
  return QStringList() << QStringLiteral("Examples");
}

QStringList qVireonGeneralizedReformatModule::contributors() const
{
  return QStringList() << QStringLiteral("Vireon core developers")
                       << QStringLiteral("Vireon imaging group")
                       << QStringLiteral("Vireon module maintainers")
                       << QStringLiteral("Vireon extension contributors");
}

QString qVireonGeneralizedReformatModule::helpText() const
{
  return tr("This is a loadable module that can be bundled in an extension");
}

QString qVireonGeneralizedReformatModule::acknowledgementText() const
{
  return tr("This module was developed by the Vireon team as part of the Vireon extensions.");
}

QStringList qVireonGeneralizedReformatModule::dependencies() const
{
  return QStringList();
}

QIcon qVireonGeneralizedReformatModule::icon() const
{
  return QIcon(QStringLiteral(":/Icons/GeneralizedReformat.png"));
}

//------------------------------------------------------------------------------
void qVireonGeneralizedReformatModule::setup()
{
  this->Superclass::setup();
}

qVireonAbstractModuleRepresentation* qVireonGeneralizedReformatModule::createWidgetRepresentation()
{
  return nullptr;
}

vtkKOVAAbstractLogic* qVireonGeneralizedReformatModule::createLogic()
{
  return vtkVireonGeneralizedReformatLogic::New();
}
