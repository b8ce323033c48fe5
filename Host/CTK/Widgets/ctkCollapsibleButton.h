#ifndef ctkCollapsibleButton_h
#define ctkCollapsibleButton_h

#include "CTKWidgetsExport.h"

#include <QAbstractButton>
#include <QScopedPointer>

class ctkCollapsibleButtonPrivate;

/// A button header that folds the widget's contents away.
///
/// The contents are the button's child widgets, usually placed with a layout set on the
/// button; they sit below the header. The button is checkable: checked means expanded, and
/// "collapsed" is the opposite of "checked". Clicking the header toggles it. While collapsed,
/// the child widgets are hidden and the button is only as tall as its header; expanding shows
/// again the children that were not hidden before.
class CTKWIDGETS_EXPORT ctkCollapsibleButton : public QAbstractButton
{
  Q_OBJECT
  Q_PROPERTY(bool collapsed READ collapsed WRITE setCollapsed NOTIFY contentsCollapsed)

public:
  explicit ctkCollapsibleButton(QWidget* parent = nullptr);
  explicit ctkCollapsibleButton(const QString& text, QWidget* parent = nullptr);
  ~ctkCollapsibleButton() override;

  /// Same as setChecked(!collapsed).
  void setCollapsed(bool collapsed);
  bool collapsed() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

Q_SIGNALS:
  /// The contents were folded (true) or unfolded (false).
  void contentsCollapsed(bool collapsed);

protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void childEvent(QChildEvent* event) override;
  /// Only the header is clickable.
  bool hitButton(const QPoint& pos) const override;

  QScopedPointer<ctkCollapsibleButtonPrivate> d_ptr;

private Q_SLOTS:
  void onToggled(bool checked);
  void applyCollapsedState();

private:
  Q_DECLARE_PRIVATE(ctkCollapsibleButton);
  Q_DISABLE_COPY(ctkCollapsibleButton);
};

#endif
