#ifndef qVireonSubjectHierarchyPluginHandler_h
#define qVireonSubjectHierarchyPluginHandler_h

#include "qVireonSubjectHierarchyModuleWidgetsExport.h"

#include <QList>
#include <QObject>
#include <QScopedPointer>
#include <QString>

#include <vtkType.h>

class QAction;
class vtkKOVANode;
class vtkKOVAScene;
class vtkKOVASubjectHierarchyNode;
class qVireonSubjectHierarchyAbstractPlugin;
class qVireonSubjectHierarchyPluginHandlerPrivate;

/// The application's subject hierarchy plug-in registry (a singleton).
///
/// Modules create their plug-ins and register them here; the handler owns them from then on. The
/// handler knows the scene and its subject hierarchy node, gives each item to the plug-in that
/// claims it with the highest confidence, and serves the context menus: for a menu of an item it
/// makes that item the current item, hides every plug-in's actions of the menu, asks each plug-in
/// to show those that apply, and gives back the visible actions in menu order.
class QVIREONSUBJECTHIERARCHYMODULEWIDGETS_EXPORT qVireonSubjectHierarchyPluginHandler
  : public QObject
{
  Q_OBJECT

public:
  /// The handler; created on first use.
  static qVireonSubjectHierarchyPluginHandler* instance();
  /// Deletes the handler and its plug-ins (done at application shut-down, also by the Qt
  /// application's destructor). The next instance() call creates a new, empty handler.
  static void cleanup();

  /// Sets the scene and takes its subject hierarchy node (added to the scene if it has none).
  void setKOVAScene(vtkKOVAScene* scene);
  /// The scene, or null. Not owned.
  vtkKOVAScene* kovaScene() const;
  /// Sets the subject hierarchy node alone (the scene is left as it is).
  void setSubjectHierarchyNode(vtkKOVASubjectHierarchyNode* shNode);
  /// The subject hierarchy node, or null. Not owned.
  vtkKOVASubjectHierarchyNode* subjectHierarchyNode() const;

  /// Registers a plug-in and takes ownership of it (it becomes a child of the handler). Refuses
  /// (false, with a message) a null plug-in and a second plug-in of the same name.
  bool registerPlugin(qVireonSubjectHierarchyAbstractPlugin* plugin);
  /// Registered plug-ins, in registration order.
  QList<qVireonSubjectHierarchyAbstractPlugin*> allPlugins() const;
  qVireonSubjectHierarchyAbstractPlugin* pluginByName(const QString& name) const;

  /// The plug-in with the highest confidence for the item (the first registered among equals), or
  /// null when no plug-in answers more than 0.0. \a confidence receives the winning confidence.
  qVireonSubjectHierarchyAbstractPlugin* findOwnerPluginForSubjectHierarchyItem(vtkIdType itemID,
    double* confidence = nullptr) const;
  /// The same for adding a node under a parent item (canAddNodeToSubjectHierarchy).
  qVireonSubjectHierarchyAbstractPlugin* findPluginForAddingNode(vtkKOVANode* node,
    vtkIdType parentItemID = 0,
    double* confidence = nullptr) const;

  /// The item whose context menu is being served; valid while an action's slot runs.
  vtkIdType currentItem() const;
  void setCurrentItem(vtkIdType itemID);

  /// Context menus of an item: make it the current item, hide every plug-in's actions of the menu,
  /// let each plug-in show its own, and return the visible ones in menu order.
  QList<QAction*> itemContextMenuActionsForItem(vtkIdType itemID);
  QList<QAction*> visibilityContextMenuActionsForItem(vtkIdType itemID);
  QList<QAction*> transformContextMenuActionsForItem(vtkIdType itemID);

protected:
  qVireonSubjectHierarchyPluginHandler();
  ~qVireonSubjectHierarchyPluginHandler() override;

  QScopedPointer<qVireonSubjectHierarchyPluginHandlerPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qVireonSubjectHierarchyPluginHandler)
  Q_DISABLE_COPY(qVireonSubjectHierarchyPluginHandler)
};

#endif
