#ifndef qVireonHeadlessTestModule_h
#define qVireonHeadlessTestModule_h

#include <qVireonLoadableModule.h>

#include <memory>

/// A loadable module without a panel; its "calls" property lists what the host called.
class qVireonHeadlessTestModule : public qVireonLoadableModule
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.vireon.modules.loadable.qVireonLoadableModule/1.0")
  Q_INTERFACES(qVireonLoadableModule)
  Q_PROPERTY(QStringList calls READ calls)

public:
  explicit qVireonHeadlessTestModule(QObject* parent = nullptr);
  QString title() const override { return QStringLiteral("Headless test"); }
  QStringList calls() const { return *this->Calls; }

  void setup() override;
  qVireonAbstractModuleRepresentation* createWidgetRepresentation() override;
  vtkKOVAAbstractLogic* createLogic() override;

private:
  std::shared_ptr<QStringList> Calls;
};

#endif
