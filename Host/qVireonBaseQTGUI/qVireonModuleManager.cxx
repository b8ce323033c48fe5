#include "qVireonModuleManager.h"

#include "qVireonLoadableModule.h"

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAScene.h>

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>
#include <QPointer>

#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

namespace
{
struct LoadedModule
{
  QString Name;
  QString Path;
  QPointer<qVireonLoadableModule> Module;
};
}

class qVireonModuleManagerPrivate
{
public:
  vtkWeakPointer<vtkKOVAApplicationLogic> AppLogic;
  vtkSmartPointer<vtkKOVAScene> Scene;
  QList<LoadedModule> Modules;
};

//------------------------------------------------------------------------------
qVireonModuleManager::qVireonModuleManager(QObject* parent)
  : QObject(parent)
  , d_ptr(new qVireonModuleManagerPrivate)
{
}

qVireonModuleManager::~qVireonModuleManager()
{
  this->unloadModules();
}

//------------------------------------------------------------------------------
void qVireonModuleManager::setApplicationLogic(vtkKOVAApplicationLogic* applicationLogic)
{
  Q_D(qVireonModuleManager);
  d->AppLogic = applicationLogic;
}

vtkKOVAApplicationLogic* qVireonModuleManager::applicationLogic() const
{
  Q_D(const qVireonModuleManager);
  return d->AppLogic;
}

void qVireonModuleManager::setKOVAScene(vtkKOVAScene* scene)
{
  Q_D(qVireonModuleManager);
  d->Scene = scene;
  for (const LoadedModule& loaded : d->Modules)
  {
    if (loaded.Module)
    {
      loaded.Module->setKOVAScene(scene);
    }
  }
}

vtkKOVAScene* qVireonModuleManager::kovaScene() const
{
  Q_D(const qVireonModuleManager);
  return d->Scene;
}

//------------------------------------------------------------------------------
bool qVireonModuleManager::isModuleLibrary(const QString& filePath)
{
  if (!QLibrary::isLibrary(filePath) || !QFileInfo(filePath).isFile())
  {
    return false;
  }
  const QPluginLoader loader(filePath);
  return loader.metaData().value(QStringLiteral("IID")).toString() ==
         qVireonLoadableModule::interfaceId();
}

QStringList qVireonModuleManager::loadModules(const QString& directory)
{
  QStringList loaded;
  const QDir dir(directory);
  if (!dir.exists())
  {
    qWarning().noquote().nospace() << Q_FUNC_INFO << ": no such directory " << directory;
    return loaded;
  }
  const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
  for (const QFileInfo& file : files)
  {
    if (!isModuleLibrary(file.absoluteFilePath()))
    {
      continue;
    }
    if (qVireonLoadableModule* module = this->loadModule(file.absoluteFilePath()))
    {
      if (!loaded.contains(module->name()))
      {
        loaded << module->name();
      }
    }
  }
  return loaded;
}

qVireonLoadableModule* qVireonModuleManager::loadModule(const QString& filePath)
{
  Q_D(qVireonModuleManager);
  if (!isModuleLibrary(filePath))
  {
    qWarning().noquote().nospace()
      << Q_FUNC_INFO << ": " << filePath << " is not a loadable module library";
    return nullptr;
  }
  QPluginLoader loader(filePath);
  QObject* instance = loader.instance();
  if (!instance)
  {
    qWarning().noquote().nospace()
      << Q_FUNC_INFO << ": cannot load " << filePath << ": " << loader.errorString();
    return nullptr;
  }
  qVireonLoadableModule* module = qobject_cast<qVireonLoadableModule*>(instance);
  if (!module)
  {
    qWarning().noquote().nospace()
      << Q_FUNC_INFO << ": the plug-in of " << filePath << " ("
      << instance->metaObject()->className() << ") is not a qVireonLoadableModule";
    return nullptr;
  }
  const QString name = module->name();
  for (const LoadedModule& loaded : d->Modules)
  {
    if (loaded.Module == module)
    {
      return module;
    }
    if (loaded.Module && loaded.Name == name)
    {
      qWarning().noquote().nospace()
        << Q_FUNC_INFO << ": a module named " << name << " is already loaded from " << loaded.Path;
      return nullptr;
    }
  }

  d->Modules.append(LoadedModule{ name, QFileInfo(filePath).absoluteFilePath(), module });
  module->initialize(d->AppLogic);
  module->setKOVAScene(d->Scene);
  module->logic();
  emit this->moduleLoaded(name);
  return module;
}

//------------------------------------------------------------------------------
QStringList qVireonModuleManager::moduleNames() const
{
  Q_D(const qVireonModuleManager);
  QStringList names;
  for (const LoadedModule& loaded : d->Modules)
  {
    if (loaded.Module)
    {
      names << loaded.Name;
    }
  }
  return names;
}

qVireonLoadableModule* qVireonModuleManager::module(const QString& name) const
{
  Q_D(const qVireonModuleManager);
  for (const LoadedModule& loaded : d->Modules)
  {
    if (loaded.Module && loaded.Name == name)
    {
      return loaded.Module;
    }
  }
  return nullptr;
}

QString qVireonModuleManager::modulePath(const QString& name) const
{
  Q_D(const qVireonModuleManager);
  for (const LoadedModule& loaded : d->Modules)
  {
    if (loaded.Module && loaded.Name == name)
    {
      return loaded.Path;
    }
  }
  return QString();
}

void qVireonModuleManager::unloadModules()
{
  Q_D(qVireonModuleManager);
  while (!d->Modules.isEmpty())
  {
    const LoadedModule loaded = d->Modules.takeLast();
    if (loaded.Module)
    {
      emit this->moduleAboutToBeUnloaded(loaded.Name);
      delete loaded.Module.data();
    }
  }
}
