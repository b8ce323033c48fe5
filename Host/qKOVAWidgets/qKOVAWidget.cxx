#include "qKOVAWidget.h"

#include <vtkKOVAScene.h>
#include <vtkSmartPointer.h>

class qKOVAWidgetPrivate
{
public:
  vtkSmartPointer<vtkKOVAScene> Scene;
};

qKOVAWidget::qKOVAWidget(QWidget* parent, Qt::WindowFlags flags)
  : QWidget(parent, flags)
  , d_ptr(new qKOVAWidgetPrivate)
{
}

qKOVAWidget::~qKOVAWidget() = default;

vtkKOVAScene* qKOVAWidget::kovaScene() const
{
  Q_D(const qKOVAWidget);
  return d->Scene;
}

void qKOVAWidget::setKOVAScene(vtkKOVAScene* newScene)
{
  Q_D(qKOVAWidget);
  if (d->Scene == newScene)
  {
    return;
  }
  d->Scene = newScene;
  emit this->kovaSceneChanged(newScene);
}
