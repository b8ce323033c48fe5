#include "qKOVAMarkupsAbstractOptionsWidget.h"

#include <vtkKOVAMarkupsNode.h>
#include <vtkKOVAScene.h>

#include <vtkWeakPointer.h>

class qKOVAMarkupsAbstractOptionsWidgetPrivate
{
public:
  vtkWeakPointer<vtkKOVAMarkupsNode> MarkupsNode;
  vtkWeakPointer<vtkKOVAScene> Scene;
};

qKOVAMarkupsAbstractOptionsWidget::qKOVAMarkupsAbstractOptionsWidget(QWidget* parent)
  : Superclass(parent)
  , d_ptr(new qKOVAMarkupsAbstractOptionsWidgetPrivate)
{
}

qKOVAMarkupsAbstractOptionsWidget::~qKOVAMarkupsAbstractOptionsWidget() = default;

vtkKOVAMarkupsNode* qKOVAMarkupsAbstractOptionsWidget::kovaMarkupsNode() const
{
  Q_D(const qKOVAMarkupsAbstractOptionsWidget);
  return d->MarkupsNode;
}

vtkKOVAScene* qKOVAMarkupsAbstractOptionsWidget::kovaScene() const
{
  Q_D(const qKOVAMarkupsAbstractOptionsWidget);
  return d->Scene;
}

void qKOVAMarkupsAbstractOptionsWidget::setKOVAMarkupsNode(vtkKOVAMarkupsNode* markupsNode)
{
  Q_D(qKOVAMarkupsAbstractOptionsWidget);
  d->MarkupsNode = markupsNode;
  this->updateWidgetFromKOVA();
}

void qKOVAMarkupsAbstractOptionsWidget::setKOVAScene(vtkKOVAScene* scene)
{
  Q_D(qKOVAMarkupsAbstractOptionsWidget);
  d->Scene = scene;
}
