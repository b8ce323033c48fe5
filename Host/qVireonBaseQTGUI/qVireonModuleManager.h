#ifndef qVireonModuleManager_h
#define qVireonModuleManager_h

#include "qVireonBaseQTGUIExport.h"

#include <QObject>
#include <QScopedPointer>
#include <QStringList>

class vtkKOVAApplicationLogic;
class vtkKOVAScene;
class qVireonLoadableModule;
class qVireonModuleManagerPrivate;

/// Finds, loads and keeps the host's loadable modules.
///
/// A module library is a Qt plug-in whose metadata carries the interface id of
/// qVireonLoadableModule. Loading one takes the plug-in's instance and drives it the way the
/// host does: initialize() with the application logic (which runs setup()), setKOVAScene(),
/// then logic(), which creates the module's logic and gives it the application logic and then
/// the scene. Panels are created only on request (qVireonAbstractCoreModule::
/// widgetRepresentation). The manager owns the loaded modules and deletes them when it is
/// destroyed or unloadModules() is called; the libraries stay loaded.
class QVIREONBASEQTGUI_EXPORT qVireonModuleManager : public QObject
{
  Q_OBJECT

public:
  explicit qVireonModuleManager(QObject* parent = nullptr);
  ~qVireonModuleManager() override;

  /// Given to each module loaded afterwards; not owned.
  void setApplicationLogic(vtkKOVAApplicationLogic* applicationLogic);
  vtkKOVAApplicationLogic* applicationLogic() const;

  /// Given to each module loaded afterwards and passed on to the loaded ones.
  void setKOVAScene(vtkKOVAScene* scene);
  vtkKOVAScene* kovaScene() const;

  /// Whether the file is a library whose plug-in metadata names the loadable module interface
  /// (read without loading the library).
  static bool isModuleLibrary(const QString& filePath);

  /// Loads every module library of \a directory (other files and libraries are skipped), in file
  /// name order. Returns the names of the modules loaded.
  QStringList loadModules(const QString& directory);

  /// Loads one module library and returns its module, or null (with a warning) when the file is
  /// not a module library, cannot be loaded, or a module of the same name is already loaded.
  /// Loading the library of an already loaded module returns that module.
  qVireonLoadableModule* loadModule(const QString& filePath);

  QStringList moduleNames() const;
  /// The loaded module of that name, or null.
  qVireonLoadableModule* module(const QString& name) const;
  /// The library file the module was loaded from (empty if no such module).
  QString modulePath(const QString& name) const;

  /// Deletes every loaded module (last loaded first).
  void unloadModules();

Q_SIGNALS:
  void moduleLoaded(const QString& name);
  void moduleAboutToBeUnloaded(const QString& name);

protected:
  QScopedPointer<qVireonModuleManagerPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qVireonModuleManager);
  Q_DISABLE_COPY(qVireonModuleManager);
};

#endif
