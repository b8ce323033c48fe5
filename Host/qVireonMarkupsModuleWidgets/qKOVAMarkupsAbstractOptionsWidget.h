#ifndef qKOVAMarkupsAbstractOptionsWidget_h
#define qKOVAMarkupsAbstractOptionsWidget_h

#include "qVireonMarkupsModuleWidgetsExport.h"

#include <QScopedPointer>
#include <QString>
#include <QWidget>

class qKOVAMarkupsAbstractOptionsWidgetPrivate;
class vtkKOVAMarkupsNode;
class vtkKOVAScene;

/// Base of the type-specific option panels of the markups module. The module asks each
/// registered options widget whether it manages the selected markups node, clones those that
/// do (createInstance), gives the clones the node and asks them to refresh.
class QVIREONMARKUPSMODULEWIDGETS_EXPORT qKOVAMarkupsAbstractOptionsWidget : public QWidget
{
  Q_OBJECT
  Q_PROPERTY(QString className READ className CONSTANT)

public:
  typedef QWidget Superclass;
  explicit qKOVAMarkupsAbstractOptionsWidget(QWidget* parent = nullptr);
  ~qKOVAMarkupsAbstractOptionsWidget() override;

  // The virtual interface, in this order.
public slots:
  /// Refreshes the widget from its node.
  virtual void updateWidgetFromKOVA() = 0;

public:
  /// The class name of the concrete options widget.
  virtual const QString className() const = 0;
  /// Whether the widget offers options for \a markupsNode.
  virtual bool canManageKOVAMarkupsNode(vtkKOVAMarkupsNode* markupsNode) const = 0;
  /// A new widget of the same class, without parent (the caller owns it).
  virtual qKOVAMarkupsAbstractOptionsWidget* createInstance() const = 0;

  /// The node given last with setKOVAMarkupsNode (null when it was deleted).
  vtkKOVAMarkupsNode* kovaMarkupsNode() const;
  /// The scene given last with setKOVAScene (null when it was deleted).
  vtkKOVAScene* kovaScene() const;

public slots:
  /// Keeps \a markupsNode (not owned) and refreshes the widget.
  virtual void setKOVAMarkupsNode(vtkKOVAMarkupsNode* markupsNode);
  /// Keeps \a scene (not owned).
  virtual void setKOVAScene(vtkKOVAScene* scene);

protected:
  QScopedPointer<qKOVAMarkupsAbstractOptionsWidgetPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qKOVAMarkupsAbstractOptionsWidget);
  Q_DISABLE_COPY(qKOVAMarkupsAbstractOptionsWidget);
};

#endif
