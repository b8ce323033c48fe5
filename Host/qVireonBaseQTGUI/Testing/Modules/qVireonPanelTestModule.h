#ifndef qVireonPanelTestModule_h
#define qVireonPanelTestModule_h

#include <qVireonLoadableModule.h>

#include <memory>

/// A loadable module with a panel; its "calls" property lists what the host called.
class qVireonPanelTestModule : public qVireonLoadableModule
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.vireon.modules.loadable.qVireonLoadableModule/1.0")
  Q_INTERFACES(qVireonLoadableModule)
  Q_PROPERTY(QStringList calls READ calls)

public:
  explicit qVireonPanelTestModule(QObject* parent = nullptr);
  QString title() const override { return QStringLiteral("Panel test"); }
  QStringList calls() const { return *this->Calls; }

  void setup() override;
  qVireonAbstractModuleRepresentation* createWidgetRepresentation() override;
  vtkKOVAAbstractLogic* createLogic() override;

private:
  std::shared_ptr<QStringList> Calls;
};

#endif
