#include "qVireonWidget.h"

class qVireonWidgetPrivate
{
};

qVireonWidget::qVireonWidget(QWidget* parent, Qt::WindowFlags flags)
  : QWidget(parent, flags)
  , d_ptr(new qVireonWidgetPrivate)
{
}

qVireonWidget::~qVireonWidget() = default;

void qVireonWidget::setKOVAScene(vtkKOVAScene* scene)
{
  if (this->kovaScene() == scene)
  {
    return;
  }
  this->qVireonObject::setKOVAScene(scene);
  emit this->kovaSceneChanged(scene);
}
