#ifndef qVireonTestModuleLogic_h
#define qVireonTestModuleLogic_h

// A module logic that writes the calls the host makes into its module's call log.

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAScene.h>
#include <vtkObjectFactory.h>
#include <vtkVireonModuleLogic.h>

#include <QStringList>

#include <memory>

class vtkVireonTestModuleLogic : public vtkVireonModuleLogic
{
public:
  static vtkVireonTestModuleLogic* New() { VTK_STANDARD_NEW_BODY(vtkVireonTestModuleLogic); }
  vtkTypeMacro(vtkVireonTestModuleLogic, vtkVireonModuleLogic);

  std::shared_ptr<QStringList> Calls;

  void SetKOVAApplicationLogic(vtkKOVAApplicationLogic* logic) override
  {
    this->Log(logic ? "logic: application logic" : "logic: no application logic");
    this->Superclass::SetKOVAApplicationLogic(logic);
  }

protected:
  void RegisterNodes() override
  {
    this->Log(this->GetApplicationLogic() ? "logic: register nodes after application logic"
                                          : "logic: register nodes without application logic");
  }
  void Log(const char* call)
  {
    if (this->Calls)
    {
      this->Calls->append(QString::fromLatin1(call));
    }
  }
};

#endif
