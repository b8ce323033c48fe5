#include <qVireonAbstractModuleRepresentation.h>
#include <qVireonLoadableModule.h>
#include <qVireonModuleManager.h>

#include <vtkKOVAAbstractLogic.h>
#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAScene.h>

#include <QDir>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <vtkNew.h>

namespace
{
const QString ModulesDir = QStringLiteral(TEST_MODULES_DIR);

QString LibraryPath(const QString& name)
{
  return QDir(ModulesDir).absoluteFilePath(QStringLiteral("lib%1.so").arg(name));
}

const QStringList ExpectedStartCalls = { "setup",
  "createLogic",
  "logic: application logic",
  "logic: register nodes after application logic" };
}

class qVireonModuleManagerTest : public QObject
{
  Q_OBJECT

private Q_SLOTS:
  void init();
  void cleanup();

  void moduleLibrariesAreRecognisedByMetadata_data();
  void moduleLibrariesAreRecognisedByMetadata();
  void loadModulesDrivesEachModuleInTheHostOrder();
  void panelIsCreatedOnlyOnRequestAndWhenEnabled();
  void loadingTheSameLibraryAgainGivesTheSameModule();
  void sceneChangesReachTheLogics();
  void unloadingDeletesModulesAndUnregistersLogics();
  void badInputIsReported();

private:
  vtkKOVAApplicationLogic* AppLogic = nullptr;
  vtkKOVAScene* Scene = nullptr;
  qVireonModuleManager* Manager = nullptr;
};

void qVireonModuleManagerTest::init()
{
  this->AppLogic = vtkKOVAApplicationLogic::New();
  this->Scene = vtkKOVAScene::New();
  this->Manager = new qVireonModuleManager;
  this->Manager->setApplicationLogic(this->AppLogic);
  this->Manager->setKOVAScene(this->Scene);
}

void qVireonModuleManagerTest::cleanup()
{
  delete this->Manager;
  this->Scene->Delete();
  this->AppLogic->Delete();
}

void qVireonModuleManagerTest::moduleLibrariesAreRecognisedByMetadata_data()
{
  QTest::addColumn<QString>("path");
  QTest::addColumn<bool>("isModule");
  QTest::newRow("module with panel") << LibraryPath("qVireonPanelTestModule") << true;
  QTest::newRow("module without panel") << LibraryPath("qVireonHeadlessTestModule") << true;
  QTest::newRow("plain library") << LibraryPath("qVireonPlainTestLibrary") << false;
  QTest::newRow("text file") << QDir(ModulesDir).absoluteFilePath("README.txt") << false;
  QTest::newRow("missing file") << LibraryPath("qVireonMissing") << false;
}

void qVireonModuleManagerTest::moduleLibrariesAreRecognisedByMetadata()
{
  QFETCH(QString, path);
  QFETCH(bool, isModule);
  QCOMPARE(qVireonModuleManager::isModuleLibrary(path), isModule);
}

void qVireonModuleManagerTest::loadModulesDrivesEachModuleInTheHostOrder()
{
  QSignalSpy loaded(this->Manager, &qVireonModuleManager::moduleLoaded);
  QTest::ignoreMessage(QtWarningMsg,
    QRegularExpression("qVireonModuleManager::loadModule\\(.*\\): the plug-in of .*"
                       "libqVireonNotAModuleTestPlugin.so \\(qVireonNotAModuleTestPlugin\\) is "
                       "not a qVireonLoadableModule"));
  const QStringList names = this->Manager->loadModules(ModulesDir);
  QCOMPARE(names, QStringList({ "HeadlessTest", "PanelTest" }));
  QCOMPARE(this->Manager->moduleNames(), names);
  QCOMPARE(loaded.count(), 2);

  for (const QString& name : names)
  {
    qVireonLoadableModule* module = this->Manager->module(name);
    QVERIFY(module);
    QCOMPARE(module->name(), name);
    QVERIFY(module->isInitialized());
    QCOMPARE(module->appLogic(), this->AppLogic);
    QCOMPARE(module->kovaScene(), this->Scene);
    QCOMPARE(module->property("calls").toStringList(), ExpectedStartCalls);
    vtkKOVAAbstractLogic* logic = module->logic();
    QVERIFY(logic);
    QCOMPARE(logic->GetKOVAScene(), this->Scene);
    QCOMPARE(logic->GetKOVAApplicationLogic(), this->AppLogic);
    QCOMPARE(this->AppLogic->GetModuleLogic(name.toUtf8().constData()), logic);
    QCOMPARE(QFileInfo(this->Manager->modulePath(name)).fileName(),
      QStringLiteral("libqVireon%1Module.so").arg(name));
  }
  QVERIFY(!this->Manager->module("NotAModuleTestPlugin"));
}

void qVireonModuleManagerTest::panelIsCreatedOnlyOnRequestAndWhenEnabled()
{
  qVireonLoadableModule* withPanel =
    this->Manager->loadModule(LibraryPath("qVireonPanelTestModule"));
  qVireonLoadableModule* headless =
    this->Manager->loadModule(LibraryPath("qVireonHeadlessTestModule"));
  QVERIFY(withPanel && headless);

  QVERIFY(withPanel->isWidgetRepresentationCreationEnabled());
  qVireonAbstractModuleRepresentation* panel = withPanel->widgetRepresentation();
  QVERIFY(panel);
  QCOMPARE(panel->module(), withPanel);
  QCOMPARE(withPanel->widgetRepresentation(), panel);
  QCOMPARE(withPanel->property("calls").toStringList(),
    ExpectedStartCalls + QStringList({ "createWidgetRepresentation", "panel setup with module" }));

  QVERIFY(!headless->isWidgetRepresentationCreationEnabled());
  QVERIFY(!headless->widgetRepresentation());
  QCOMPARE(headless->property("calls").toStringList(), ExpectedStartCalls);
}

void qVireonModuleManagerTest::loadingTheSameLibraryAgainGivesTheSameModule()
{
  QSignalSpy loaded(this->Manager, &qVireonModuleManager::moduleLoaded);
  qVireonLoadableModule* first = this->Manager->loadModule(LibraryPath("qVireonPanelTestModule"));
  qVireonLoadableModule* second = this->Manager->loadModule(LibraryPath("qVireonPanelTestModule"));
  QVERIFY(first);
  QCOMPARE(second, first);
  QCOMPARE(loaded.count(), 1);
  QCOMPARE(first->property("calls").toStringList(), ExpectedStartCalls);
  QCOMPARE(this->Manager->moduleNames(), QStringList({ "PanelTest" }));
}

void qVireonModuleManagerTest::sceneChangesReachTheLogics()
{
  qVireonLoadableModule* module = this->Manager->loadModule(LibraryPath("qVireonPanelTestModule"));
  QVERIFY(module);
  vtkNew<vtkKOVAScene> other;
  this->Manager->setKOVAScene(other);
  QCOMPARE(module->kovaScene(), other.GetPointer());
  QCOMPARE(module->logic()->GetKOVAScene(), other.GetPointer());
  this->Manager->setKOVAScene(nullptr);
  QVERIFY(!module->logic()->GetKOVAScene());
}

void qVireonModuleManagerTest::unloadingDeletesModulesAndUnregistersLogics()
{
  QPointer<qVireonLoadableModule> module =
    this->Manager->loadModule(LibraryPath("qVireonPanelTestModule"));
  QVERIFY(module);
  QSignalSpy unloading(this->Manager, &qVireonModuleManager::moduleAboutToBeUnloaded);
  this->Manager->unloadModules();
  QVERIFY(module.isNull());
  QCOMPARE(unloading.count(), 1);
  QCOMPARE(unloading.at(0).at(0).toString(), QStringLiteral("PanelTest"));
  QVERIFY(!this->AppLogic->GetModuleLogic("PanelTest"));
  QVERIFY(this->Manager->moduleNames().isEmpty());

  // The library stays loaded; loading it again makes a fresh module.
  qVireonLoadableModule* again = this->Manager->loadModule(LibraryPath("qVireonPanelTestModule"));
  QVERIFY(again);
  QCOMPARE(again->property("calls").toStringList(), ExpectedStartCalls);
  QVERIFY(this->AppLogic->GetModuleLogic("PanelTest"));
}

void qVireonModuleManagerTest::badInputIsReported()
{
  QTest::ignoreMessage(QtWarningMsg, QRegularExpression(": no such directory .*/nowhere$"));
  QVERIFY(this->Manager->loadModules(ModulesDir + "/nowhere").isEmpty());

  QTest::ignoreMessage(QtWarningMsg,
    QRegularExpression(": .*libqVireonPlainTestLibrary.so is not a loadable module library$"));
  QVERIFY(!this->Manager->loadModule(LibraryPath("qVireonPlainTestLibrary")));

  QTest::ignoreMessage(
    QtWarningMsg, QRegularExpression(": .*README.txt is not a loadable module library$"));
  QVERIFY(!this->Manager->loadModule(QDir(ModulesDir).absoluteFilePath("README.txt")));
  QVERIFY(this->Manager->moduleNames().isEmpty());
}

QTEST_MAIN(qVireonModuleManagerTest)
#include "qVireonModuleManagerTest.moc"
