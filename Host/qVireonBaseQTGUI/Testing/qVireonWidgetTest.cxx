#include <qVireonWidget.h>

#include <vtkKOVAScene.h>
#include <vtkKOVATextNode.h>

#include <QSignalSpy>
#include <QTest>

#include <vtkNew.h>

/// A widget that observes one text node's text-modified event, as scene widgets do.
class NodeWatcher : public qVireonWidget
{
  Q_OBJECT

public:
  using qVireonWidget::qVireonWidget;
  int Modifications = 0;
  vtkKOVATextNode* Node = nullptr;

  void watch(vtkKOVATextNode* node)
  {
    this->qvtkReconnect(
      this->Node, node, vtkKOVATextNode::TextModifiedEvent, this, SLOT(onTextModified()));
    this->Node = node;
  }
  bool watches(vtkObject* object) { return this->qvtkIsConnected(object); }

public Q_SLOTS:
  void onTextModified() { ++this->Modifications; }
};

class qVireonWidgetTest : public QObject
{
  Q_OBJECT

private Q_SLOTS:
  void sceneIsStoredThroughTheVirtualBase();
  void reconnectMovesTheObservation();
};

void qVireonWidgetTest::sceneIsStoredThroughTheVirtualBase()
{
  NodeWatcher widget;
  QSignalSpy changed(&widget, &qVireonWidget::kovaSceneChanged);
  vtkNew<vtkKOVAScene> scene;
  qVireonObject* object = &widget;
  object->setKOVAScene(scene);
  QCOMPARE(widget.kovaScene(), scene.GetPointer());
  QCOMPARE(changed.count(), 1);
  widget.setKOVAScene(scene);
  QCOMPARE(changed.count(), 1);
  widget.setKOVAScene(nullptr);
  QVERIFY(!object->kovaScene());
  QCOMPARE(changed.count(), 2);
}

void qVireonWidgetTest::reconnectMovesTheObservation()
{
  vtkNew<vtkKOVATextNode> first;
  vtkNew<vtkKOVATextNode> second;
  {
    NodeWatcher widget;
    widget.watch(first);
    first->SetText("a");
    QCOMPARE(widget.Modifications, 1);

    widget.watch(second);
    first->SetText("b");
    QCOMPARE(widget.Modifications, 1);
    second->SetText("c");
    QCOMPARE(widget.Modifications, 2);
    QVERIFY(!widget.watches(first));
    QVERIFY(widget.watches(second));

    widget.watch(nullptr);
    second->SetText("d");
    QCOMPARE(widget.Modifications, 2);
    widget.watch(second);
  }
  // A destroyed widget leaves no observer behind.
  QVERIFY(!second->HasObserver(vtkKOVATextNode::TextModifiedEvent));
  second->SetText("e");
}

QTEST_MAIN(qVireonWidgetTest)
#include "qVireonWidgetTest.moc"
