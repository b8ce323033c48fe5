#ifndef qKOVAWidget_h
#define qKOVAWidget_h

#include "qKOVAWidgetsExport.h"

#include <ctkVTKObject.h>

#include <QScopedPointer>
#include <QWidget>

class vtkKOVAScene;
class qKOVAWidgetPrivate;

/// Base of the widgets that show scene content: holds the scene and connects VTK events to its
/// slots (qvtkConnect, qvtkReconnect, ...; see ctkVTKObjectEventsObserver).
class QKOVAWIDGETS_EXPORT qKOVAWidget : public QWidget
{
  Q_OBJECT
  QVTK_OBJECT

public:
  explicit qKOVAWidget(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
  ~qKOVAWidget() override;

  /// The scene (the widget holds a reference), or null.
  Q_INVOKABLE vtkKOVAScene* kovaScene() const;

public Q_SLOTS:
  /// Stores the scene; emits kovaSceneChanged when it changes.
  virtual void setKOVAScene(vtkKOVAScene* newScene);

Q_SIGNALS:
  void kovaSceneChanged(vtkKOVAScene* scene);

protected:
  QScopedPointer<qKOVAWidgetPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qKOVAWidget);
  Q_DISABLE_COPY(qKOVAWidget);
};

#endif
