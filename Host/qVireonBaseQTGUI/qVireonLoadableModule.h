#ifndef qVireonLoadableModule_h
#define qVireonLoadableModule_h

#include "qVireonBaseQTGUIExport.h"

#include "qVireonAbstractModule.h"

#include <QtPlugin>

/// Base of the modules that the host loads from plug-in libraries.
///
/// A module library declares its class with
///   Q_PLUGIN_METADATA(IID "org.vireon.modules.loadable.qVireonLoadableModule/1.0")
///   Q_INTERFACES(qVireonLoadableModule)
/// and the host's module manager (qVireonModuleManager) finds it by that interface id.
class QVIREONBASEQTGUI_EXPORT qVireonLoadableModule : public qVireonAbstractModule
{
  Q_OBJECT

public:
  explicit qVireonLoadableModule(QObject* parent = nullptr);
  ~qVireonLoadableModule() override;

  /// The interface id that module libraries carry in their plug-in metadata.
  static QString interfaceId();

  void setup() override;

private:
  Q_DISABLE_COPY(qVireonLoadableModule);
};

#define qVireonLoadableModule_iid "org.vireon.modules.loadable.qVireonLoadableModule/1.0"
Q_DECLARE_INTERFACE(qVireonLoadableModule, qVireonLoadableModule_iid)

#endif
