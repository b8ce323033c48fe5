#include "qVireonPanelTestModule.h"

#include "qVireonTestModuleLogic.h"

#include <qVireonAbstractModuleRepresentation.h>

namespace
{
class Panel : public qVireonAbstractModuleRepresentation
{
public:
  explicit Panel(std::shared_ptr<QStringList> calls)
    : Calls(std::move(calls))
  {
  }

protected:
  void setup() override
  {
    this->Calls->append(this->module() ? "panel setup with module" : "panel setup without module");
  }
  std::shared_ptr<QStringList> Calls;
};
}

qVireonPanelTestModule::qVireonPanelTestModule(QObject* parent)
  : qVireonLoadableModule(parent)
  , Calls(std::make_shared<QStringList>())
{
}

void qVireonPanelTestModule::setup()
{
  this->qVireonLoadableModule::setup();
  this->Calls->append("setup");
}

qVireonAbstractModuleRepresentation* qVireonPanelTestModule::createWidgetRepresentation()
{
  this->Calls->append("createWidgetRepresentation");
  return new Panel(this->Calls);
}

vtkKOVAAbstractLogic* qVireonPanelTestModule::createLogic()
{
  this->Calls->append("createLogic");
  vtkVireonTestModuleLogic* logic = vtkVireonTestModuleLogic::New();
  logic->Calls = this->Calls;
  return logic;
}
