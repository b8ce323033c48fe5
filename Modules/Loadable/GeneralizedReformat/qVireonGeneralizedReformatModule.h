#ifndef qVireonGeneralizedReformatModule_h
#define qVireonGeneralizedReformatModule_h

#include "qVireonGeneralizedReformatModuleExport.h"

#include <qVireonLoadableModule.h>

#include <QScopedPointer>

class qVireonGeneralizedReformatModulePrivate;

/// The curved planar reformat module: makes vtkVireonGeneralizedReformatLogic available to the
/// host. It has no panel; the logic's methods are its interface.
class QVIREONGENERALIZEDREFORMATMODULE_EXPORT qVireonGeneralizedReformatModule
  : public qVireonLoadableModule
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.vireon.modules.loadable.qVireonLoadableModule/1.0")
  Q_INTERFACES(qVireonLoadableModule)

public:
  typedef qVireonLoadableModule Superclass;
  explicit qVireonGeneralizedReformatModule(QObject* parent = nullptr);
  ~qVireonGeneralizedReformatModule() override;

  static QString staticTitle();
  QString title() const override;
  QStringList categories() const override;
  QStringList contributors() const override;
  QString helpText() const override;
  QString acknowledgementText() const override;
  QStringList dependencies() const override;

  void setup() override;
  /// Null: the module has no panel.
  qVireonAbstractModuleRepresentation* createWidgetRepresentation() override;
  /// A new vtkVireonGeneralizedReformatLogic; the caller takes the reference.
  vtkKOVAAbstractLogic* createLogic() override;

  /// From ":/Icons/GeneralizedReformat.png"; empty unless the application provides the resource.
  QIcon icon() const override;

protected:
  QScopedPointer<qVireonGeneralizedReformatModulePrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qVireonGeneralizedReformatModule);
  Q_DISABLE_COPY(qVireonGeneralizedReformatModule);
};

#endif
