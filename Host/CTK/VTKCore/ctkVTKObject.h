#ifndef ctkVTKObject_h
#define ctkVTKObject_h

#include "ctkVTKObjectEventsObserver.h"

/// Gives a QObject subclass protected qvtkConnect, qvtkReconnect, qvtkDisconnect,
/// qvtkDisconnectAll and qvtkIsConnected, which manage connections from VTK events to its
/// slots (see ctkVTKObjectEventsObserver). Put it right after Q_OBJECT; it leaves the access
/// at private.
#define QVTK_OBJECT                                                                                \
protected:                                                                                         \
  QString qvtkConnect(vtkObject* vtk_obj,                                                          \
    unsigned long vtk_event,                                                                       \
    const QObject* qt_obj,                                                                         \
    const char* qt_slot,                                                                           \
    float priority = 0.0f,                                                                         \
    Qt::ConnectionType connectionType = Qt::AutoConnection)                                        \
  {                                                                                                \
    return this->MyQVTK.addConnection(                                                             \
      vtk_obj, vtk_event, qt_obj, qt_slot, priority, connectionType);                              \
  }                                                                                                \
  QString qvtkReconnect(vtkObject* old_vtk_obj,                                                    \
    vtkObject* vtk_obj,                                                                            \
    unsigned long vtk_event,                                                                       \
    const QObject* qt_obj,                                                                         \
    const char* qt_slot,                                                                           \
    float priority = 0.0f,                                                                         \
    Qt::ConnectionType connectionType = Qt::AutoConnection)                                        \
  {                                                                                                \
    return this->MyQVTK.reconnection(                                                              \
      old_vtk_obj, vtk_obj, vtk_event, qt_obj, qt_slot, priority, connectionType);                 \
  }                                                                                                \
  int qvtkDisconnect(vtkObject* vtk_obj,                                                           \
    unsigned long vtk_event = vtkCommand::NoEvent,                                                 \
    const QObject* qt_obj = nullptr,                                                               \
    const char* qt_slot = nullptr)                                                                 \
  {                                                                                                \
    return this->MyQVTK.removeConnection(vtk_obj, vtk_event, qt_obj, qt_slot);                     \
  }                                                                                                \
  int qvtkDisconnectAll()                                                                          \
  {                                                                                                \
    return this->MyQVTK.removeAllConnections();                                                    \
  }                                                                                                \
  bool qvtkIsConnected(vtkObject* vtk_obj,                                                         \
    unsigned long vtk_event = vtkCommand::NoEvent,                                                 \
    const QObject* qt_obj = nullptr,                                                               \
    const char* qt_slot = nullptr) const                                                           \
  {                                                                                                \
    return this->MyQVTK.containsConnection(vtk_obj, vtk_event, qt_obj, qt_slot);                   \
  }                                                                                                \
                                                                                                   \
private:                                                                                           \
  ctkVTKObjectEventsObserver MyQVTK;

#endif
