#include "qVireonHeadlessTestModule.h"

#include "qVireonTestModuleLogic.h"

qVireonHeadlessTestModule::qVireonHeadlessTestModule(QObject* parent)
  : qVireonLoadableModule(parent)
  , Calls(std::make_shared<QStringList>())
{
  this->setWidgetRepresentationCreationEnabled(false);
}

void qVireonHeadlessTestModule::setup()
{
  this->qVireonLoadableModule::setup();
  this->Calls->append("setup");
}

qVireonAbstractModuleRepresentation* qVireonHeadlessTestModule::createWidgetRepresentation()
{
  this->Calls->append("createWidgetRepresentation");
  return nullptr;
}

vtkKOVAAbstractLogic* qVireonHeadlessTestModule::createLogic()
{
  this->Calls->append("createLogic");
  vtkVireonTestModuleLogic* logic = vtkVireonTestModuleLogic::New();
  logic->Calls = this->Calls;
  return logic;
}
