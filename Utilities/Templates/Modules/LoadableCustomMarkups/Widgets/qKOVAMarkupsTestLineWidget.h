#ifndef qKOVAMarkupsTestLineWidget_h
#define qKOVAMarkupsTestLineWidget_h

#include "qVireonTemplateKeyModuleWidgetsExport.h"

#include <qKOVAMarkupsAbstractOptionsWidget.h>

#include <QScopedPointer>

class qKOVAMarkupsTestLineWidgetPrivate;
class vtkKOVAMarkupsNode;

/// The options panel of test line markups: a folded section "Test Line Settings" with an
/// explanatory label, shown only while the widget's node is a test line.
class QVIREONTEMPLATEKEYMODULEWIDGETS_EXPORT qKOVAMarkupsTestLineWidget
  : public qKOVAMarkupsAbstractOptionsWidget
{
  Q_OBJECT
  Q_PROPERTY(QString className READ className CONSTANT)

public:
  typedef qKOVAMarkupsAbstractOptionsWidget Superclass;
  explicit qKOVAMarkupsTestLineWidget(QWidget* parent = nullptr);
  ~qKOVAMarkupsTestLineWidget() override;

  /// Shows the section exactly when the stored node is a test line.
  void updateWidgetFromKOVA() override;
  const QString className() const override { return "qKOVAMarkupsTestLineWidget"; }
  /// True exactly for test line nodes.
  bool canManageKOVAMarkupsNode(vtkKOVAMarkupsNode* markupsNode) const override;
  /// A new widget without parent (the caller owns it).
  qKOVAMarkupsAbstractOptionsWidget* createInstance() const override;

public slots:
  /// Keeps the node if it is a test line (else none); enables the widget for any non-null
  /// node and disables it for null. Does not refresh the widget.
  void setKOVAMarkupsNode(vtkKOVAMarkupsNode* markupsNode) override;

protected:
  /// Builds the user interface and hides the section.
  void setup();

  QScopedPointer<qKOVAMarkupsTestLineWidgetPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qKOVAMarkupsTestLineWidget);
  Q_DISABLE_COPY(qKOVAMarkupsTestLineWidget);
};

#endif
