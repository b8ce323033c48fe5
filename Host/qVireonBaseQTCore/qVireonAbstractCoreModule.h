#ifndef qVireonAbstractCoreModule_h
#define qVireonAbstractCoreModule_h

#include "qVireonBaseQTCoreExport.h"

#include <QObject>
#include <QScopedPointer>
#include <QStringList>

class vtkKOVAAbstractLogic;
class vtkKOVAApplicationLogic;
class vtkKOVAScene;
class qVireonAbstractModuleRepresentation;
class qVireonAbstractCoreModulePrivate;

/// Base of every module: its descriptive texts, its logic and its panel.
///
/// The host drives a module in this order: initialize(applicationLogic), which calls setup();
/// setKOVAScene(scene); logic(), which calls createLogic() once and hands the new logic the
/// application logic and then the scene. widgetRepresentation() creates the panel on first
/// request, unless creation is switched off.
class QVIREONBASEQTCORE_EXPORT qVireonAbstractCoreModule : public QObject
{
  Q_OBJECT
  Q_PROPERTY(QString name READ name)
  Q_PROPERTY(QString title READ title)
  Q_PROPERTY(QStringList categories READ categories)
  Q_PROPERTY(int index READ index)
  Q_PROPERTY(bool hidden READ isHidden)
  Q_PROPERTY(QStringList contributors READ contributors)
  Q_PROPERTY(QString helpText READ helpText)
  Q_PROPERTY(QString acknowledgementText READ acknowledgementText)
  Q_PROPERTY(QStringList associatedNodeTypes READ associatedNodeTypes)
  Q_PROPERTY(QStringList dependencies READ dependencies)
  Q_PROPERTY(bool widgetRepresentationCreationEnabled READ isWidgetRepresentationCreationEnabled
      WRITE setWidgetRepresentationCreationEnabled)

public:
  explicit qVireonAbstractCoreModule(QObject* parent = nullptr);
  /// Deletes the panel and drops the logic (unregistering it from the application logic).
  ~qVireonAbstractCoreModule() override;

  virtual void printAdditionalInfo();

  /// The module's name; by default the class name without a leading "qVireon" and a trailing
  /// "Module" ("qVireonGeneralizedReformatModule" gives "GeneralizedReformat").
  virtual QString name() const;
  virtual void setName(const QString& name);

  virtual QString title() const = 0;
  virtual QStringList categories() const;
  /// Position within its categories (default 0).
  virtual int index() const;
  /// Hidden modules are not offered to the user (default false).
  virtual bool isHidden() const;
  virtual QStringList contributors() const;
  virtual QString helpText() const;
  virtual QString acknowledgementText() const;
  virtual QStringList associatedNodeTypes() const;
  /// Names of the modules this one needs.
  virtual QStringList dependencies() const;

  /// Stores the application logic and calls setup(). Only the first call has an effect.
  void initialize(vtkKOVAApplicationLogic* applicationLogic);
  bool isInitialized() const;
  vtkKOVAApplicationLogic* appLogic() const;

  vtkKOVAScene* kovaScene() const;

  /// The module's logic, created by createLogic() on the first call; null if it has none. The
  /// new logic gets the application logic, then the scene, and is registered with the
  /// application logic under the module's name. The module holds the reference.
  vtkKOVAAbstractLogic* logic();

  /// Whether widgetRepresentation() may create a panel (default true).
  bool isWidgetRepresentationCreationEnabled() const;
  void setWidgetRepresentationCreationEnabled(bool enabled);

  /// The module's panel, created by createWidgetRepresentation() on the first call; null when
  /// creation is switched off or the module has none. The module owns it.
  qVireonAbstractModuleRepresentation* widgetRepresentation();

  /// Module set-up, run once by initialize(). Subclasses call the base first.
  virtual void setup() = 0;
  /// A new panel for the module, or null.
  virtual qVireonAbstractModuleRepresentation* createWidgetRepresentation() = 0;
  /// A new logic for the module (the caller takes the reference New() returned), or null.
  virtual vtkKOVAAbstractLogic* createLogic() = 0;

public Q_SLOTS:
  /// Stores the scene and passes it to the logic once that exists.
  virtual void setKOVAScene(vtkKOVAScene* scene);

Q_SIGNALS:
  void kovaSceneChanged(vtkKOVAScene* scene);

protected:
  QScopedPointer<qVireonAbstractCoreModulePrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qVireonAbstractCoreModule);
  Q_DISABLE_COPY(qVireonAbstractCoreModule);
};

#endif
