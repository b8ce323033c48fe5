#ifndef qVireonSubjectHierarchyDynamicModelerPlugin_h
#define qVireonSubjectHierarchyDynamicModelerPlugin_h

#include "qVireonDynamicModelerSubjectHierarchyPluginsExport.h"

#include <qVireonSubjectHierarchyAbstractPlugin.h>

#include <QScopedPointer>

class vtkVireonDynamicModelerLogic;
class qVireonSubjectHierarchyDynamicModelerPluginPrivate;

/// Subject hierarchy plug-in for dynamic modeler nodes: owns them, shows the picture of the tool a
/// node runs, and adds "Continuous update" (checkable) and "Update" (runs the tool once) to the
/// item context menu.
class QVIREONDYNAMICMODELERSUBJECTHIERARCHYPLUGINS_EXPORT
  qVireonSubjectHierarchyDynamicModelerPlugin : public qVireonSubjectHierarchyAbstractPlugin
{
  Q_OBJECT

public:
  typedef qVireonSubjectHierarchyAbstractPlugin Superclass;
  explicit qVireonSubjectHierarchyDynamicModelerPlugin(QObject* parent = nullptr);
  ~qVireonSubjectHierarchyDynamicModelerPlugin() override;

  /// The logic that runs the tools (not owned). Once the logic is deleted, "Update" reports that
  /// there is no logic.
  void setDynamicModelerLogic(vtkVireonDynamicModelerLogic* dynamicModelerLogic);

  /// 0.5 for dynamic modeler nodes (and their subclasses), 0.0 otherwise.
  double canOwnSubjectHierarchyItem(vtkIdType itemID) const override;
  /// "DynamicModeler".
  Q_INVOKABLE QString roleForPlugin() const override;
  /// The icon of the tool that the item's node names, or an empty icon.
  QIcon icon(vtkIdType itemID) override;
  /// "Continuous update", "Update".
  QList<QAction*> itemContextMenuActions() const override;
  /// Shows both actions for dynamic modeler items, "Continuous update" checked as the node is.
  void showContextMenuActionsForItem(vtkIdType itemID) override;
  /// 0.5 for dynamic modeler nodes (and their subclasses), 0.0 otherwise.
  double canAddNodeToSubjectHierarchy(vtkKOVANode* node, vtkIdType parentItemID = 0) const override;

protected slots:
  /// Flips continuous update of the current item's node.
  void continuousUpdateChanged();
  /// Runs the current item's tool once.
  void updateTriggered();

protected:
  QScopedPointer<qVireonSubjectHierarchyDynamicModelerPluginPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qVireonSubjectHierarchyDynamicModelerPlugin)
  Q_DISABLE_COPY(qVireonSubjectHierarchyDynamicModelerPlugin)
};

#endif
