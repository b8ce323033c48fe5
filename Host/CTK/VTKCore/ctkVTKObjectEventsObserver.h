#ifndef ctkVTKObjectEventsObserver_h
#define ctkVTKObjectEventsObserver_h

#include "CTKVisualizationVTKCoreExport.h"

#include <QObject>
#include <QScopedPointer>
#include <QString>

#include <vtkCommand.h>

class vtkObject;
class ctkVTKObjectEventsObserverPrivate;

/// Connections from VTK object events to Qt slots.
///
/// Each connection observes one event of one VTK object and calls one slot of one Qt object
/// (given with SLOT()). The slot may take any leading part of the arguments
/// (vtkObject* caller, unsigned long event, void* clientData, void* callData); clientData is
/// always null. A connection ends when it is removed, when the observer is destroyed, or when
/// either end is destroyed. Connecting the same object, event, receiver and slot twice keeps one
/// connection.
class CTKVISUALIZATIONVTKCORE_EXPORT ctkVTKObjectEventsObserver : public QObject
{
  Q_OBJECT
public:
  explicit ctkVTKObjectEventsObserver(QObject* parent = nullptr);
  ~ctkVTKObjectEventsObserver() override;

  /// Connects \a vtk_event of \a vtk_obj to \a qt_slot of \a qt_obj and returns the connection's
  /// identifier. A null \a vtk_obj means no connection (empty identifier). A null receiver, a
  /// null slot or a slot the receiver does not have is an error (logged; empty identifier).
  QString addConnection(vtkObject* vtk_obj,
    unsigned long vtk_event,
    const QObject* qt_obj,
    const char* qt_slot,
    float priority = 0.0f,
    Qt::ConnectionType connectionType = Qt::AutoConnection);

  /// Removes the connection of \a old_vtk_obj (if any) and connects \a vtk_obj instead; either
  /// object may be null. Returns the new connection's identifier (empty when none was made).
  QString reconnection(vtkObject* old_vtk_obj,
    vtkObject* vtk_obj,
    unsigned long vtk_event,
    const QObject* qt_obj,
    const char* qt_slot,
    float priority = 0.0f,
    Qt::ConnectionType connectionType = Qt::AutoConnection);

  /// Removes the connections of \a vtk_obj that match the other arguments (NoEvent, a null
  /// receiver or a null slot match any). A null \a vtk_obj removes nothing. Returns how many
  /// were removed.
  int removeConnection(vtkObject* vtk_obj,
    unsigned long vtk_event = vtkCommand::NoEvent,
    const QObject* qt_obj = nullptr,
    const char* qt_slot = nullptr);

  /// Removes every connection; returns how many there were.
  int removeAllConnections();

  /// Whether a live connection matches (the same wildcards as removeConnection).
  bool containsConnection(vtkObject* vtk_obj,
    unsigned long vtk_event = vtkCommand::NoEvent,
    const QObject* qt_obj = nullptr,
    const char* qt_slot = nullptr) const;

  /// The number of live connections.
  int numberOfConnections() const;

protected:
  QScopedPointer<ctkVTKObjectEventsObserverPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(ctkVTKObjectEventsObserver);
  Q_DISABLE_COPY(ctkVTKObjectEventsObserver);
};

#endif
