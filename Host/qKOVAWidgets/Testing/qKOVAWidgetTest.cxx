#include <qKOVAWidget.h>

#include <vtkKOVAScene.h>
#include <vtkKOVATextNode.h>

#include <QSignalSpy>
#include <QTest>

#include <vtkNew.h>
#include <vtkWeakPointer.h>

/// A scene widget that observes the scene's node-added event.
class SceneWatcher : public qKOVAWidget
{
  Q_OBJECT

public:
  using qKOVAWidget::qKOVAWidget;
  int Added = 0;

  void setKOVAScene(vtkKOVAScene* scene) override
  {
    this->qvtkReconnect(
      this->kovaScene(), scene, vtkKOVAScene::NodeAddedEvent, this, SLOT(onNodeAdded()));
    this->qKOVAWidget::setKOVAScene(scene);
  }

public Q_SLOTS:
  void onNodeAdded() { ++this->Added; }
};

class qKOVAWidgetTest : public QObject
{
  Q_OBJECT

private Q_SLOTS:
  void sceneSlotStoresAndSignals();
  void subclassFollowsTheSceneWithQvtkReconnect();
};

void qKOVAWidgetTest::sceneSlotStoresAndSignals()
{
  vtkWeakPointer<vtkKOVAScene> weak;
  {
    qKOVAWidget widget;
    QSignalSpy changed(&widget, SIGNAL(kovaSceneChanged(vtkKOVAScene*)));
    vtkKOVAScene* scene = vtkKOVAScene::New();
    weak = scene;
    QVERIFY(QMetaObject::invokeMethod(&widget, "setKOVAScene", Q_ARG(vtkKOVAScene*, scene)));
    scene->Delete();
    // The widget holds a reference.
    QVERIFY(weak);
    QCOMPARE(widget.kovaScene(), weak.GetPointer());
    widget.setKOVAScene(weak);
    QCOMPARE(changed.count(), 1);
  }
  QVERIFY(!weak);
}

void qKOVAWidgetTest::subclassFollowsTheSceneWithQvtkReconnect()
{
  vtkNew<vtkKOVAScene> first;
  vtkNew<vtkKOVAScene> second;
  SceneWatcher widget;
  widget.setKOVAScene(first);
  first->AddNewNodeByClass("vtkKOVATextNode");
  QCOMPARE(widget.Added, 1);
  widget.setKOVAScene(second);
  first->AddNewNodeByClass("vtkKOVATextNode");
  second->AddNewNodeByClass("vtkKOVATextNode");
  QCOMPARE(widget.Added, 2);
}

QTEST_MAIN(qKOVAWidgetTest)
#include "qKOVAWidgetTest.moc"
