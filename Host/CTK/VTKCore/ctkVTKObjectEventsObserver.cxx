#include "ctkVTKObjectEventsObserver.h"

#include <QDebug>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QUuid>

#include <vtkEventQtSlotConnect.h>
#include <vtkNew.h>
#include <vtkObject.h>
#include <vtkWeakPointer.h>

namespace
{
/// The signal through which vtkEventQtSlotConnect calls the slots.
const char* const ExecuteSignature =
  "EmitExecute(vtkObject*,unsigned long,void*,void*,vtkCommand*)";

struct Connection
{
  QString Id;
  vtkWeakPointer<vtkObject> Object;
  unsigned long Event = vtkCommand::NoEvent;
  QPointer<const QObject> Receiver;
  QByteArray Slot;           // as given, with its SLOT()/SIGNAL() code
  QByteArray NormalizedSlot; // normalised signature, without the code

  bool isAlive() const { return this->Object && this->Receiver; }
  bool matches(vtkObject* object,
    unsigned long event,
    const QObject* receiver,
    const QByteArray& normalizedSlot) const
  {
    return this->Object.GetPointer() == object &&
           (event == vtkCommand::NoEvent || event == this->Event) &&
           (!receiver || receiver == this->Receiver.data()) &&
           (normalizedSlot.isEmpty() || normalizedSlot == this->NormalizedSlot);
  }
};

/// The normalised signature of a SLOT()/SIGNAL() string, or empty when it has no valid code.
QByteArray NormalizedMember(const char* member)
{
  if (!member || (member[0] != '0' + QSLOT_CODE && member[0] != '0' + QSIGNAL_CODE) ||
      member[1] == '\0')
  {
    return QByteArray();
  }
  return QMetaObject::normalizedSignature(member + 1);
}
}

//------------------------------------------------------------------------------
class ctkVTKObjectEventsObserverPrivate
{
public:
  /// Drops the records whose VTK object or receiver is gone (their connection went with it).
  void prune()
  {
    for (auto it = this->Connections.begin(); it != this->Connections.end();)
    {
      it = it->isAlive() ? it + 1 : this->Connections.erase(it);
    }
  }

  vtkNew<vtkEventQtSlotConnect> Connector;
  QList<Connection> Connections;
};

//------------------------------------------------------------------------------
ctkVTKObjectEventsObserver::ctkVTKObjectEventsObserver(QObject* parent)
  : QObject(parent)
  , d_ptr(new ctkVTKObjectEventsObserverPrivate)
{
}

ctkVTKObjectEventsObserver::~ctkVTKObjectEventsObserver()
{
  this->removeAllConnections();
}

//------------------------------------------------------------------------------
QString ctkVTKObjectEventsObserver::addConnection(vtkObject* vtk_obj,
  unsigned long vtk_event,
  const QObject* qt_obj,
  const char* qt_slot,
  float priority,
  Qt::ConnectionType connectionType)
{
  Q_D(ctkVTKObjectEventsObserver);
  if (!vtk_obj)
  {
    return QString();
  }
  if (!qt_obj)
  {
    qCritical().noquote().nospace() << Q_FUNC_INFO << ": receiver is null";
    return QString();
  }
  const QByteArray normalizedSlot = NormalizedMember(qt_slot);
  if (normalizedSlot.isEmpty())
  {
    qCritical().noquote().nospace()
      << Q_FUNC_INFO << ": invalid slot " << (qt_slot ? qt_slot : "(null)")
      << " (use SLOT() or SIGNAL())";
    return QString();
  }
  const QMetaObject* meta = qt_obj->metaObject();
  const int index = qt_slot[0] == '0' + QSLOT_CODE ? meta->indexOfSlot(normalizedSlot)
                                                   : meta->indexOfSignal(normalizedSlot);
  if (index < 0)
  {
    qCritical().noquote().nospace()
      << Q_FUNC_INFO << ": " << meta->className() << " has no "
      << (qt_slot[0] == '0' + QSLOT_CODE ? "slot " : "signal ") << normalizedSlot;
    return QString();
  }
  if (!QMetaObject::checkConnectArgs(
        QMetaObject::normalizedSignature(ExecuteSignature), normalizedSlot))
  {
    qCritical().noquote().nospace()
      << Q_FUNC_INFO << ": " << normalizedSlot
      << " does not take a leading part of (vtkObject*, unsigned long, void*, void*)";
    return QString();
  }

  d->prune();
  for (const Connection& connection : d->Connections)
  {
    if (connection.Event == vtk_event &&
        connection.matches(vtk_obj, vtk_event, qt_obj, normalizedSlot))
    {
      return connection.Id;
    }
  }

  Connection connection;
  connection.Id = QUuid::createUuid().toString(QUuid::WithoutBraces);
  connection.Object = vtk_obj;
  connection.Event = vtk_event;
  connection.Receiver = qt_obj;
  connection.Slot = qt_slot;
  connection.NormalizedSlot = normalizedSlot;
  d->Connector->Connect(
    vtk_obj, vtk_event, qt_obj, connection.Slot.constData(), nullptr, priority, connectionType);
  d->Connections.append(connection);
  return connection.Id;
}

//------------------------------------------------------------------------------
QString ctkVTKObjectEventsObserver::reconnection(vtkObject* old_vtk_obj,
  vtkObject* vtk_obj,
  unsigned long vtk_event,
  const QObject* qt_obj,
  const char* qt_slot,
  float priority,
  Qt::ConnectionType connectionType)
{
  this->removeConnection(old_vtk_obj, vtk_event, qt_obj, qt_slot);
  return this->addConnection(vtk_obj, vtk_event, qt_obj, qt_slot, priority, connectionType);
}

//------------------------------------------------------------------------------
int ctkVTKObjectEventsObserver::removeConnection(vtkObject* vtk_obj,
  unsigned long vtk_event,
  const QObject* qt_obj,
  const char* qt_slot)
{
  Q_D(ctkVTKObjectEventsObserver);
  if (!vtk_obj)
  {
    return 0;
  }
  const QByteArray normalizedSlot = NormalizedMember(qt_slot);
  d->prune();
  int removed = 0;
  for (auto it = d->Connections.begin(); it != d->Connections.end();)
  {
    if (it->matches(vtk_obj, vtk_event, qt_obj, normalizedSlot))
    {
      d->Connector->Disconnect(
        it->Object.GetPointer(), it->Event, it->Receiver.data(), it->Slot.constData());
      it = d->Connections.erase(it);
      ++removed;
    }
    else
    {
      ++it;
    }
  }
  return removed;
}

//------------------------------------------------------------------------------
int ctkVTKObjectEventsObserver::removeAllConnections()
{
  Q_D(ctkVTKObjectEventsObserver);
  d->prune();
  const int count = d->Connections.size();
  d->Connector->Disconnect();
  d->Connections.clear();
  return count;
}

//------------------------------------------------------------------------------
bool ctkVTKObjectEventsObserver::containsConnection(vtkObject* vtk_obj,
  unsigned long vtk_event,
  const QObject* qt_obj,
  const char* qt_slot) const
{
  Q_D(const ctkVTKObjectEventsObserver);
  if (!vtk_obj)
  {
    return false;
  }
  const QByteArray normalizedSlot = NormalizedMember(qt_slot);
  for (const Connection& connection : d->Connections)
  {
    if (connection.isAlive() && connection.matches(vtk_obj, vtk_event, qt_obj, normalizedSlot))
    {
      return true;
    }
  }
  return false;
}

//------------------------------------------------------------------------------
int ctkVTKObjectEventsObserver::numberOfConnections() const
{
  Q_D(const ctkVTKObjectEventsObserver);
  int count = 0;
  for (const Connection& connection : d->Connections)
  {
    count += connection.isAlive() ? 1 : 0;
  }
  return count;
}
