#include <ctkVTKObject.h>

#include <QPointer>
#include <QRegularExpression>
#include <QTest>

#include <vtkCommand.h>
#include <vtkNew.h>
#include <vtkObject.h>
#include <vtkSmartPointer.h>

#include <memory>
#include <vector>

namespace
{
const unsigned long TestEvent = vtkCommand::UserEvent + 7;
}

/// A receiver that records the calls of its slots.
class Receiver : public QObject
{
  Q_OBJECT
  QVTK_OBJECT

public:
  struct Call
  {
    QString Slot;
    vtkObject* Caller = nullptr;
    unsigned long Event = 0;
    void* CallData = nullptr;
  };
  std::vector<Call> Calls;
  std::vector<QString>* SharedLog = nullptr;

  using QObject::QObject;
  // The protected QVTK_OBJECT interface, for the test.
  QString observe(vtkObject* o, unsigned long e, const char* slot, float priority = 0.0f)
  {
    return this->qvtkConnect(o, e, this, slot, priority);
  }
  QString reobserve(vtkObject* oldObject, vtkObject* newObject, unsigned long e, const char* slot)
  {
    return this->qvtkReconnect(oldObject, newObject, e, this, slot);
  }
  int unobserve(vtkObject* o, unsigned long e = vtkCommand::NoEvent, const char* slot = nullptr)
  {
    return this->qvtkDisconnect(o, e, slot ? this : nullptr, slot);
  }
  int unobserveAll() { return this->qvtkDisconnectAll(); }
  bool isConnected(vtkObject* o, unsigned long e = vtkCommand::NoEvent)
  {
    return this->qvtkIsConnected(o, e);
  }

public Q_SLOTS:
  void onEvent()
  {
    this->Calls.push_back({ "onEvent" });
    if (this->SharedLog)
    {
      this->SharedLog->push_back(this->objectName());
    }
  }
  void onEventWithArguments(vtkObject* caller,
    unsigned long event,
    void* clientData,
    void* callData)
  {
    Q_UNUSED(clientData);
    this->Calls.push_back({ "onEventWithArguments", caller, event, callData });
  }
  void onIncompatible(int) {}

Q_SIGNALS:
  void relayed();
};

class ctkVTKObjectEventsObserverTest : public QObject
{
  Q_OBJECT

private Q_SLOTS:
  void eventCallsTheSlotWithItsArguments();
  void reconnectMovesTheConnection_data();
  void reconnectMovesTheConnection();
  void duplicateConnectionIsKeptOnce();
  void invalidSlotsAreRejected_data();
  void invalidSlotsAreRejected();
  void deletedEndsDropTheConnection();
  void disconnectMatchesWildcards();
  void priorityOrdersTheSlots();
  void destroyedObserverStopsCalling();
  void connectionToASignalRelays();
};

void ctkVTKObjectEventsObserverTest::eventCallsTheSlotWithItsArguments()
{
  Receiver receiver;
  vtkNew<vtkObject> object;
  const QString id = receiver.observe(
    object, TestEvent, SLOT(onEventWithArguments(vtkObject*, unsigned long, void*, void*)));
  QVERIFY(!id.isEmpty());
  QVERIFY(receiver.isConnected(object, TestEvent));

  int payload = 42;
  object->InvokeEvent(TestEvent, &payload);
  object->InvokeEvent(vtkCommand::ModifiedEvent); // not observed
  QCOMPARE(receiver.Calls.size(), size_t(1));
  QCOMPARE(receiver.Calls[0].Caller, object.GetPointer());
  QCOMPARE(receiver.Calls[0].Event, TestEvent);
  QCOMPARE(receiver.Calls[0].CallData, static_cast<void*>(&payload));
}

void ctkVTKObjectEventsObserverTest::reconnectMovesTheConnection_data()
{
  QTest::addColumn<bool>("oldIsNull");
  QTest::addColumn<bool>("newIsNull");
  QTest::newRow("old to new") << false << false;
  QTest::newRow("none to new") << true << false;
  QTest::newRow("old to none") << false << true;
  QTest::newRow("none to none") << true << true;
}

void ctkVTKObjectEventsObserverTest::reconnectMovesTheConnection()
{
  QFETCH(bool, oldIsNull);
  QFETCH(bool, newIsNull);
  Receiver receiver;
  vtkNew<vtkObject> oldObject;
  vtkNew<vtkObject> newObject;
  vtkNew<vtkObject> bystander;
  // Another object observed with the same slot must not be affected.
  QVERIFY(!receiver.observe(bystander, TestEvent, SLOT(onEvent())).isEmpty());
  if (!oldIsNull)
  {
    QVERIFY(!receiver.observe(oldObject, TestEvent, SLOT(onEvent())).isEmpty());
  }

  const QString id = receiver.reobserve(oldIsNull ? nullptr : oldObject.GetPointer(),
    newIsNull ? nullptr : newObject.GetPointer(),
    TestEvent,
    SLOT(onEvent()));
  QCOMPARE(id.isEmpty(), newIsNull);

  oldObject->InvokeEvent(TestEvent);
  QCOMPARE(receiver.Calls.size(), size_t(0));
  newObject->InvokeEvent(TestEvent);
  QCOMPARE(receiver.Calls.size(), size_t(newIsNull ? 0 : 1));
  bystander->InvokeEvent(TestEvent);
  QCOMPARE(receiver.Calls.size(), size_t(newIsNull ? 1 : 2));
  QVERIFY(!receiver.isConnected(oldObject));
  QCOMPARE(receiver.isConnected(newObject), !newIsNull);
}

void ctkVTKObjectEventsObserverTest::duplicateConnectionIsKeptOnce()
{
  Receiver receiver;
  vtkNew<vtkObject> object;
  const QString first = receiver.observe(object, TestEvent, SLOT(onEvent()));
  const QString second = receiver.observe(object, TestEvent, SLOT(onEvent()));
  QCOMPARE(second, first);
  object->InvokeEvent(TestEvent);
  QCOMPARE(receiver.Calls.size(), size_t(1));

  // A different event is a different connection.
  const QString other = receiver.observe(object, TestEvent + 1, SLOT(onEvent()));
  QVERIFY(!other.isEmpty());
  QVERIFY(other != first);
}

void ctkVTKObjectEventsObserverTest::invalidSlotsAreRejected_data()
{
  QTest::addColumn<QByteArray>("slot");
  QTest::addColumn<QString>("message");
  QTest::newRow("unknown slot") << QByteArray(SLOT(noSuchSlot()))
                                << "Receiver has no slot noSuchSlot()";
  QTest::newRow("without SLOT()") << QByteArray("onEvent()") << "invalid slot onEvent()";
  QTest::newRow("incompatible arguments")
    << QByteArray(SLOT(onIncompatible(int))) << "onIncompatible(int) does not take";
}

void ctkVTKObjectEventsObserverTest::invalidSlotsAreRejected()
{
  QFETCH(QByteArray, slot);
  QFETCH(QString, message);
  Receiver receiver;
  vtkNew<vtkObject> object;
  QTest::ignoreMessage(QtCriticalMsg,
    QRegularExpression("^QString ctkVTKObjectEventsObserver::addConnection\\(.*\\): .*" +
                       QRegularExpression::escape(message)));
  QVERIFY(receiver.observe(object, TestEvent, slot.constData()).isEmpty());
  QVERIFY(!receiver.isConnected(object));
  object->InvokeEvent(TestEvent);
  QCOMPARE(receiver.Calls.size(), size_t(0));
}

void ctkVTKObjectEventsObserverTest::deletedEndsDropTheConnection()
{
  // The VTK object goes first.
  {
    Receiver receiver;
    vtkSmartPointer<vtkObject> object = vtkSmartPointer<vtkObject>::New();
    vtkNew<vtkObject> kept;
    receiver.observe(object, TestEvent, SLOT(onEvent()));
    receiver.observe(kept, TestEvent, SLOT(onEvent()));
    object = nullptr;
    QVERIFY(receiver.isConnected(kept));
    QCOMPARE(receiver.unobserveAll(), 1);
  }
  // The receiver goes first: the event no longer reaches it.
  {
    vtkNew<vtkObject> object;
    auto owner = std::make_unique<Receiver>();
    std::vector<QString> log;
    owner->SharedLog = &log;
    owner->setObjectName("gone");
    ctkVTKObjectEventsObserver observer;
    QVERIFY(!observer.addConnection(object, TestEvent, owner.get(), SLOT(onEvent())).isEmpty());
    QCOMPARE(observer.numberOfConnections(), 1);
    owner.reset();
    QCOMPARE(observer.numberOfConnections(), 0);
    object->InvokeEvent(TestEvent);
    QVERIFY(log.empty());
    QVERIFY(!observer.containsConnection(object));
    QVERIFY(!object->HasObserver(TestEvent));
  }
}

void ctkVTKObjectEventsObserverTest::disconnectMatchesWildcards()
{
  Receiver receiver;
  vtkNew<vtkObject> object;
  vtkNew<vtkObject> other;
  receiver.observe(object, TestEvent, SLOT(onEvent()));
  receiver.observe(object, TestEvent + 1, SLOT(onEvent()));
  receiver.observe(
    object, TestEvent, SLOT(onEventWithArguments(vtkObject*, unsigned long, void*, void*)));
  receiver.observe(other, TestEvent, SLOT(onEvent()));

  QCOMPARE(receiver.unobserve(object, TestEvent, SLOT(onEvent())), 1);
  QVERIFY(receiver.isConnected(object, TestEvent));
  QCOMPARE(receiver.unobserve(object), 2);
  QVERIFY(!receiver.isConnected(object));
  QCOMPARE(receiver.unobserve(nullptr), 0);
  QVERIFY(receiver.isConnected(other, TestEvent));

  object->InvokeEvent(TestEvent);
  object->InvokeEvent(TestEvent + 1);
  QCOMPARE(receiver.Calls.size(), size_t(0));
}

void ctkVTKObjectEventsObserverTest::priorityOrdersTheSlots()
{
  std::vector<QString> log;
  Receiver low;
  low.setObjectName("low");
  low.SharedLog = &log;
  Receiver high;
  high.setObjectName("high");
  high.SharedLog = &log;
  vtkNew<vtkObject> object;
  low.observe(object, TestEvent, SLOT(onEvent()), 0.0f);
  high.observe(object, TestEvent, SLOT(onEvent()), 10.0f);
  object->InvokeEvent(TestEvent);
  QCOMPARE(log, (std::vector<QString>{ "high", "low" }));
}

void ctkVTKObjectEventsObserverTest::destroyedObserverStopsCalling()
{
  Receiver receiver;
  vtkNew<vtkObject> object;
  auto observer = std::make_unique<ctkVTKObjectEventsObserver>();
  observer->addConnection(object, TestEvent, &receiver, SLOT(onEvent()));
  object->InvokeEvent(TestEvent);
  observer.reset();
  object->InvokeEvent(TestEvent);
  QCOMPARE(receiver.Calls.size(), size_t(1));
  QVERIFY(!object->HasObserver(TestEvent));
}

void ctkVTKObjectEventsObserverTest::connectionToASignalRelays()
{
  Receiver receiver;
  int relayed = 0;
  QObject::connect(&receiver, &Receiver::relayed, [&relayed]() { ++relayed; });
  vtkNew<vtkObject> object;
  QVERIFY(!receiver.observe(object, TestEvent, SIGNAL(relayed())).isEmpty());
  object->InvokeEvent(TestEvent);
  QCOMPARE(relayed, 1);
}

QTEST_GUILESS_MAIN(ctkVTKObjectEventsObserverTest)
#include "ctkVTKObjectEventsObserverTest.moc"
