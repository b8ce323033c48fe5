#ifndef qVireonWidget_h
#define qVireonWidget_h

#include "qVireonBaseQTGUIExport.h"

#include <qVireonObject.h>

#include <ctkVTKObject.h>

#include <QScopedPointer>
#include <QWidget>

class vtkKOVAScene;
class qVireonWidgetPrivate;

/// A widget of the host application that knows the scene and connects VTK events to its slots
/// (qvtkConnect, qvtkReconnect, ...; see ctkVTKObjectEventsObserver).
class QVIREONBASEQTGUI_EXPORT qVireonWidget
  : public QWidget
  , public virtual qVireonObject
{
  Q_OBJECT
  QVTK_OBJECT

public:
  explicit qVireonWidget(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
  ~qVireonWidget() override;

public Q_SLOTS:
  /// Stores the scene; emits kovaSceneChanged when it changes.
  void setKOVAScene(vtkKOVAScene* scene) override;

Q_SIGNALS:
  void kovaSceneChanged(vtkKOVAScene* scene);

protected:
  QScopedPointer<qVireonWidgetPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qVireonWidget);
  Q_DISABLE_COPY(qVireonWidget);
};

#endif
