#include "ctkCollapsibleButton.h"

#include <QChildEvent>
#include <QLayout>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStylePainter>

namespace
{
/// Marks a child that the button hid when it collapsed (and shows again when it expands).
const char* const HiddenByCollapseProperty = "ctkCollapsibleButton_hiddenByCollapse";
const int IndicatorSpacing = 6;
}

//------------------------------------------------------------------------------
class ctkCollapsibleButtonPrivate
{
  Q_DECLARE_PUBLIC(ctkCollapsibleButton);

public:
  explicit ctkCollapsibleButtonPrivate(ctkCollapsibleButton& object)
    : q_ptr(&object)
  {
  }

  void init();
  int indicatorSize() const;
  QSize headerSize() const;
  void updateHeader();
  void hideChildren();
  void showChildren();

  ctkCollapsibleButton* q_ptr;
  bool Collapsed = false;
  int HeaderHeight = 0;
};

//------------------------------------------------------------------------------
void ctkCollapsibleButtonPrivate::init()
{
  Q_Q(ctkCollapsibleButton);
  q->setCheckable(true);
  q->setChecked(true);
  q->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  QObject::connect(q, &QAbstractButton::toggled, q, &ctkCollapsibleButton::onToggled);
  this->updateHeader();
}

int ctkCollapsibleButtonPrivate::indicatorSize() const
{
  Q_Q(const ctkCollapsibleButton);
  return q->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, q);
}

QSize ctkCollapsibleButtonPrivate::headerSize() const
{
  Q_Q(const ctkCollapsibleButton);
  const QSize textSize = q->fontMetrics().size(Qt::TextShowMnemonic, q->text());
  const int indicator = this->indicatorSize();
  QStyleOptionButton option;
  option.initFrom(q);
  option.text = q->text();
  const QSize contents(
    indicator + IndicatorSpacing + textSize.width(), qMax(indicator, q->fontMetrics().height()));
  return q->style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, q);
}

/// The contents lie below the header: the header height is the widget's top contents margin.
void ctkCollapsibleButtonPrivate::updateHeader()
{
  Q_Q(ctkCollapsibleButton);
  this->HeaderHeight = this->headerSize().height();
  q->setContentsMargins(0, this->HeaderHeight, 0, 0);
  q->setMaximumHeight(this->Collapsed ? this->HeaderHeight : QWIDGETSIZE_MAX);
  q->updateGeometry();
}

void ctkCollapsibleButtonPrivate::hideChildren()
{
  Q_Q(ctkCollapsibleButton);
  for (QObject* object : q->children())
  {
    QWidget* child = qobject_cast<QWidget*>(object);
    if (!child || child->isWindow() || child->property(HiddenByCollapseProperty).toBool())
    {
      continue;
    }
    // Children that were hidden on purpose stay hidden after expanding.
    if (child->isHidden() && child->testAttribute(Qt::WA_WState_ExplicitShowHide))
    {
      continue;
    }
    child->setProperty(HiddenByCollapseProperty, true);
    child->hide();
  }
}

void ctkCollapsibleButtonPrivate::showChildren()
{
  Q_Q(ctkCollapsibleButton);
  for (QObject* object : q->children())
  {
    QWidget* child = qobject_cast<QWidget*>(object);
    if (child && child->property(HiddenByCollapseProperty).toBool())
    {
      child->setProperty(HiddenByCollapseProperty, QVariant());
      child->show();
    }
  }
}

//------------------------------------------------------------------------------
ctkCollapsibleButton::ctkCollapsibleButton(QWidget* parent)
  : QAbstractButton(parent)
  , d_ptr(new ctkCollapsibleButtonPrivate(*this))
{
  Q_D(ctkCollapsibleButton);
  d->init();
}

ctkCollapsibleButton::ctkCollapsibleButton(const QString& text, QWidget* parent)
  : QAbstractButton(parent)
  , d_ptr(new ctkCollapsibleButtonPrivate(*this))
{
  Q_D(ctkCollapsibleButton);
  this->setText(text);
  d->init();
}

ctkCollapsibleButton::~ctkCollapsibleButton() = default;

//------------------------------------------------------------------------------
void ctkCollapsibleButton::setCollapsed(bool collapsed)
{
  this->setChecked(!collapsed);
}

bool ctkCollapsibleButton::collapsed() const
{
  Q_D(const ctkCollapsibleButton);
  return d->Collapsed;
}

void ctkCollapsibleButton::onToggled(bool checked)
{
  Q_D(ctkCollapsibleButton);
  const bool collapsed = !checked;
  if (collapsed == d->Collapsed)
  {
    return;
  }
  d->Collapsed = collapsed;
  if (collapsed)
  {
    d->hideChildren();
  }
  else
  {
    d->showChildren();
  }
  this->setMaximumHeight(collapsed ? d->HeaderHeight : QWIDGETSIZE_MAX);
  this->updateGeometry();
  this->update();
  emit this->contentsCollapsed(collapsed);
}

/// Hides children that appeared while the button was collapsed.
void ctkCollapsibleButton::applyCollapsedState()
{
  Q_D(ctkCollapsibleButton);
  if (d->Collapsed)
  {
    d->hideChildren();
  }
}

//------------------------------------------------------------------------------
QSize ctkCollapsibleButton::sizeHint() const
{
  Q_D(const ctkCollapsibleButton);
  const QSize header = d->headerSize();
  if (d->Collapsed || !this->layout())
  {
    return header;
  }
  // With a layout, the base answers the layout's size plus the contents margins (the header).
  return header.expandedTo(QAbstractButton::sizeHint());
}

QSize ctkCollapsibleButton::minimumSizeHint() const
{
  Q_D(const ctkCollapsibleButton);
  const QSize header = d->headerSize();
  if (d->Collapsed || !this->layout())
  {
    return header;
  }
  return header.expandedTo(QAbstractButton::minimumSizeHint());
}

bool ctkCollapsibleButton::hitButton(const QPoint& pos) const
{
  Q_D(const ctkCollapsibleButton);
  return QRect(0, 0, this->width(), d->HeaderHeight).contains(pos);
}

//------------------------------------------------------------------------------
void ctkCollapsibleButton::paintEvent(QPaintEvent*)
{
  Q_D(ctkCollapsibleButton);
  QStylePainter painter(this);
  const QRect header(0, 0, this->width(), d->HeaderHeight);

  if (!d->Collapsed)
  {
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = this->rect().adjusted(0, d->HeaderHeight / 2, 0, 0);
    frame.lineWidth = 1;
    frame.frameShape = QFrame::StyledPanel;
    painter.drawPrimitive(QStyle::PE_Frame, frame);
  }

  QStyleOptionButton button;
  button.initFrom(this);
  button.rect = header;
  button.state |= this->isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
  if (this->isChecked())
  {
    button.state |= QStyle::State_On;
  }
  painter.drawControl(QStyle::CE_PushButtonBevel, button);

  const int margin = this->style()->pixelMetric(QStyle::PM_ButtonMargin, &button, this);
  const int indicator = d->indicatorSize();
  QStyleOption arrow;
  arrow.initFrom(this);
  arrow.rect = QRect(margin, (d->HeaderHeight - indicator) / 2, indicator, indicator);
  painter.drawPrimitive(
    d->Collapsed ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowDown, arrow);

  const QRect textRect = header.adjusted(margin + indicator + IndicatorSpacing, 0, -margin, 0);
  painter.drawItemText(textRect,
    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
    this->palette(),
    this->isEnabled(),
    this->text(),
    QPalette::ButtonText);
}

void ctkCollapsibleButton::showEvent(QShowEvent* event)
{
  // Showing the button has shown its children; keep them folded.
  this->applyCollapsedState();
  QAbstractButton::showEvent(event);
}

void ctkCollapsibleButton::changeEvent(QEvent* event)
{
  Q_D(ctkCollapsibleButton);
  QAbstractButton::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
  {
    d->updateHeader();
  }
}

void ctkCollapsibleButton::childEvent(QChildEvent* event)
{
  Q_D(ctkCollapsibleButton);
  QAbstractButton::childEvent(event);
  // A child widget is complete only after its constructor; fold it once control returns.
  if (event->type() == QEvent::ChildAdded && d->Collapsed && event->child()->isWidgetType())
  {
    QMetaObject::invokeMethod(this, "applyCollapsedState", Qt::QueuedConnection);
  }
}
