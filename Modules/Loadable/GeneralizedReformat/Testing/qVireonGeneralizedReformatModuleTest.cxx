#include <qVireonLoadableModule.h>
#include <qVireonModuleManager.h>

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAScene.h>
#include <vtkVireonGeneralizedReformatLogic.h>

#include <QFileInfo>
#include <QIcon>
#include <QJsonObject>
#include <QPixmap>
#include <QPluginLoader>
#include <QPointer>
#include <QResource>
#include <QTest>

#include <vtkNew.h>
#include <vtkSmartPointer.h>

namespace
{
const QString ModuleFile = QStringLiteral(MODULE_FILE);
const QString IconResourceFile = QStringLiteral(ICON_RESOURCE_FILE);
const char* const InterfaceId = "org.vireon.modules.loadable.qVireonLoadableModule/1.0";
}

/// Loads the module's plug-in file through the module manager, as the host does.
class qVireonGeneralizedReformatModuleTest : public QObject
{
  Q_OBJECT

private Q_SLOTS:
  void init();
  void cleanup();

  void metadataNamesTheInterfaceAndClass();
  void hostLoadsTheModuleFromItsFolder();
  void moduleTexts();
  void noPanelIsCreated();
  void logicIsCreatedAndGivenToTheHost();
  void typeAnswersItsNameAndTheInterface();
  void pluginInstanceIsKeptWhileItLives();

private:
  vtkSmartPointer<vtkKOVAApplicationLogic> AppLogic;
  vtkSmartPointer<vtkKOVAScene> Scene;
  qVireonModuleManager* Manager = nullptr;
  qVireonLoadableModule* Module = nullptr;
};

void qVireonGeneralizedReformatModuleTest::init()
{
  this->AppLogic = vtkSmartPointer<vtkKOVAApplicationLogic>::New();
  this->Scene = vtkSmartPointer<vtkKOVAScene>::New();
  this->Manager = new qVireonModuleManager;
  this->Manager->setApplicationLogic(this->AppLogic);
  this->Manager->setKOVAScene(this->Scene);
  this->Module = this->Manager->loadModule(ModuleFile);
  QVERIFY(this->Module);
}

void qVireonGeneralizedReformatModuleTest::cleanup()
{
  delete this->Manager;
  this->Manager = nullptr;
  this->Module = nullptr;
}

void qVireonGeneralizedReformatModuleTest::metadataNamesTheInterfaceAndClass()
{
  const QJsonObject metaData = QPluginLoader(ModuleFile).metaData();
  QCOMPARE(metaData.value("IID").toString(), QString::fromLatin1(InterfaceId));
  QCOMPARE(
    metaData.value("className").toString(), QStringLiteral("qVireonGeneralizedReformatModule"));
  QVERIFY(metaData.value("MetaData").toObject().isEmpty());
  QVERIFY(qVireonModuleManager::isModuleLibrary(ModuleFile));
}

void qVireonGeneralizedReformatModuleTest::hostLoadsTheModuleFromItsFolder()
{
  qVireonModuleManager manager;
  manager.setApplicationLogic(this->AppLogic);
  const QStringList names = manager.loadModules(QFileInfo(ModuleFile).absolutePath());
  QVERIFY(names.contains("GeneralizedReformat"));
  // The plug-in's single instance, already driven by the first manager.
  QCOMPARE(manager.module("GeneralizedReformat"), this->Module);
}

void qVireonGeneralizedReformatModuleTest::moduleTexts()
{
  QCOMPARE(this->Module->name(), QStringLiteral("GeneralizedReformat"));
  QCOMPARE(this->Module->title(), QStringLiteral("GeneralizedReformat"));
  QCOMPARE(this->Module->property("title").toString(), QStringLiteral("GeneralizedReformat"));
  QCOMPARE(this->Module->categories(), QStringList({ "Examples" }));
  QVERIFY(this->Module->dependencies().isEmpty());
  const QStringList contributors = this->Module->contributors();
  QCOMPARE(contributors.size(), 4);
  for (const QString& contributor : contributors)
  {
    QVERIFY(!contributor.isEmpty());
  }
  QCOMPARE(this->Module->helpText(),
    QStringLiteral("This is a loadable module that can be bundled in an extension"));
  QVERIFY(this->Module->acknowledgementText().endsWith('.'));
  // The icon resource belongs to the application: without it the icon has no image.
  QVERIFY(this->Module->icon().availableSizes().isEmpty());
  QVERIFY(this->Module->icon().pixmap(QSize(16, 16)).isNull());
  QVERIFY(QResource::registerResource(IconResourceFile));
  const QPixmap pixmap = this->Module->icon().pixmap(QSize(16, 16));
  QVERIFY(QResource::unregisterResource(IconResourceFile));
  QCOMPARE(pixmap.size(), QSize(16, 16));
  QVERIFY(!this->Module->isHidden());
}

void qVireonGeneralizedReformatModuleTest::noPanelIsCreated()
{
  QVERIFY(!this->Module->isWidgetRepresentationCreationEnabled());
  QVERIFY(!this->Module->widgetRepresentation());
  QVERIFY(!this->Module->createWidgetRepresentation());
}

void qVireonGeneralizedReformatModuleTest::logicIsCreatedAndGivenToTheHost()
{
  vtkKOVAAbstractLogic* logic = this->Module->logic();
  QVERIFY(logic);
  QCOMPARE(QString(logic->GetClassName()), QStringLiteral("vtkVireonGeneralizedReformatLogic"));
  auto* reformat = vtkVireonGeneralizedReformatLogic::SafeDownCast(logic);
  QVERIFY(reformat);
  QVERIFY(reformat->IsVolumeResamplerRegistered("ResampleScalarVectorDWIVolume"));
  QCOMPARE(logic->GetKOVAScene(), this->Scene.GetPointer());
  QCOMPARE(logic->GetKOVAApplicationLogic(), this->AppLogic.GetPointer());
  QCOMPARE(this->AppLogic->GetModuleLogic("GeneralizedReformat"), logic);
  QCOMPARE(this->Module->logic(), logic);

  // Each call makes a new logic, owned by the caller.
  vtkSmartPointer<vtkKOVAAbstractLogic> created;
  created.TakeReference(this->Module->createLogic());
  QVERIFY(created && created != logic);
  QCOMPARE(created->GetReferenceCount(), 1);
  QVERIFY(created->IsA("vtkVireonGeneralizedReformatLogic"));
}

void qVireonGeneralizedReformatModuleTest::typeAnswersItsNameAndTheInterface()
{
  QObject* object = this->Module;
  QCOMPARE(
    QString(object->metaObject()->className()), QStringLiteral("qVireonGeneralizedReformatModule"));
  QCOMPARE(object->qt_metacast("qVireonGeneralizedReformatModule"), static_cast<void*>(object));
  QCOMPARE(object->qt_metacast(InterfaceId), static_cast<void*>(this->Module));
  QVERIFY(object->qt_metacast("qVireonLoadableModule"));
  QVERIFY(object->qt_metacast("QObject"));
  QVERIFY(!object->qt_metacast("qVireonOtherModule"));
  QCOMPARE(qobject_cast<qVireonLoadableModule*>(object), this->Module);

  // No signals, slots or properties of its own.
  const QMetaObject* meta = object->metaObject();
  QCOMPARE(meta->methodCount(), meta->methodOffset());
  QCOMPARE(meta->propertyCount(), meta->propertyOffset());
}

void qVireonGeneralizedReformatModuleTest::pluginInstanceIsKeptWhileItLives()
{
  QPluginLoader loader(ModuleFile);
  QPointer<QObject> first = loader.instance();
  QCOMPARE(first.data(), static_cast<QObject*>(this->Module));
  QCOMPARE(QPluginLoader(ModuleFile).instance(), first.data());
  QVERIFY(!first->parent());

  // Once deleted, the next request creates a new module, not yet set up.
  this->Manager->unloadModules();
  this->Module = nullptr;
  QVERIFY(first.isNull());
  QPointer<QObject> second = QPluginLoader(ModuleFile).instance();
  QVERIFY(second);
  auto* module = qobject_cast<qVireonLoadableModule*>(second.data());
  QVERIFY(module);
  QVERIFY(!module->isInitialized());
  QCOMPARE(QPluginLoader(ModuleFile).instance(), second.data());
  delete second.data();
}

QTEST_MAIN(qVireonGeneralizedReformatModuleTest)
#include "qVireonGeneralizedReformatModuleTest.moc"
