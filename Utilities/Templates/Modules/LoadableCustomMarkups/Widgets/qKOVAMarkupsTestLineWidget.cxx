#include "qKOVAMarkupsTestLineWidget.h"

#include "ui_qKOVAMarkupsTestLineWidget.h"

#include <vtkKOVAMarkupsTestLineNode.h>

#include <vtkWeakPointer.h>

class qKOVAMarkupsTestLineWidgetPrivate : public Ui_qKOVAMarkupsTestLineWidget
{
  Q_DECLARE_PUBLIC(qKOVAMarkupsTestLineWidget);

protected:
  qKOVAMarkupsTestLineWidget* const q_ptr;

public:
  explicit qKOVAMarkupsTestLineWidgetPrivate(qKOVAMarkupsTestLineWidget& object);
  void setupUi(qKOVAMarkupsTestLineWidget* widget);

  vtkWeakPointer<vtkKOVAMarkupsTestLineNode> MarkupsNode;
};

qKOVAMarkupsTestLineWidgetPrivate::qKOVAMarkupsTestLineWidgetPrivate(
  qKOVAMarkupsTestLineWidget& object)
  : q_ptr(&object)
{
}

void qKOVAMarkupsTestLineWidgetPrivate::setupUi(qKOVAMarkupsTestLineWidget* widget)
{
  this->Ui_qKOVAMarkupsTestLineWidget::setupUi(widget);
}

//------------------------------------------------------------------------------
qKOVAMarkupsTestLineWidget::qKOVAMarkupsTestLineWidget(QWidget* parent)
  : Superclass(parent)
  , d_ptr(new qKOVAMarkupsTestLineWidgetPrivate(*this))
{
  this->setup();
}

qKOVAMarkupsTestLineWidget::~qKOVAMarkupsTestLineWidget() = default;

void qKOVAMarkupsTestLineWidget::setup()
{
  Q_D(qKOVAMarkupsTestLineWidget);
  d->setupUi(this);
  d->lineTestCollapsibleButton->setVisible(false);
}

void qKOVAMarkupsTestLineWidget::updateWidgetFromKOVA()
{
  Q_D(qKOVAMarkupsTestLineWidget);
  d->lineTestCollapsibleButton->setVisible(this->canManageKOVAMarkupsNode(d->MarkupsNode));
}

bool qKOVAMarkupsTestLineWidget::canManageKOVAMarkupsNode(vtkKOVAMarkupsNode* markupsNode) const
{
  return vtkKOVAMarkupsTestLineNode::SafeDownCast(markupsNode) != nullptr;
}

qKOVAMarkupsAbstractOptionsWidget* qKOVAMarkupsTestLineWidget::createInstance() const
{
  return new qKOVAMarkupsTestLineWidget();
}

void qKOVAMarkupsTestLineWidget::setKOVAMarkupsNode(vtkKOVAMarkupsNode* markupsNode)
{
  Q_D(qKOVAMarkupsTestLineWidget);
  d->MarkupsNode = vtkKOVAMarkupsTestLineNode::SafeDownCast(markupsNode);
  this->setEnabled(markupsNode != nullptr);
}
