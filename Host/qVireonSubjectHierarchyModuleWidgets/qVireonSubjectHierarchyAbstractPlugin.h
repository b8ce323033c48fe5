#ifndef qVireonSubjectHierarchyAbstractPlugin_h
#define qVireonSubjectHierarchyAbstractPlugin_h

#include "qVireonSubjectHierarchyModuleWidgetsExport.h"

#include <QColor>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <vtkType.h>

class QAction;
class vtkIdList;
class vtkKOVAAbstractViewNode;
class vtkKOVANode;

/// Base of the subject hierarchy plug-ins.
///
/// A plug-in handles items of the subject hierarchy: it says how confidently it can own an item
/// (or add a node), gives owned items their icon, tool tip and role, and contributes actions to
/// the item, scene, visibility, transform and view context menus. Before a menu is shown the
/// plug-in handler hides every plug-in's actions of that menu and then asks each plug-in to show
/// those of its actions that apply to the item (show...ContextMenuActionsForItem); while an
/// action's slot runs, the handler's currentItem() is the item of the menu.
///
/// Items are 64-bit ids of the handler's subject hierarchy node; INVALID_ITEM_ID means none.
/// Confidences run from 0.0 (cannot handle) to 1.0. Failures are logged with qCritical().
class QVIREONSUBJECTHIERARCHYMODULEWIDGETS_EXPORT qVireonSubjectHierarchyAbstractPlugin
  : public QObject
{
  Q_OBJECT
  Q_PROPERTY(QString name READ name WRITE setName)

public:
  explicit qVireonSubjectHierarchyAbstractPlugin(QObject* parent = nullptr);
  ~qVireonSubjectHierarchyAbstractPlugin() override;

  /// Dynamic properties that setActionPosition gives an action.
  static const char* const SectionPropertyName;
  static const char* const WeightPropertyName;
  static const char* const WeightAdjustmentPropertyName;

  /// Places an action in its menu: by section, then by weight plus adjustment (lower first).
  /// Actions without a position come last, in the order the plug-ins give them.
  static void setActionPosition(QAction* action,
    int section,
    int weight = 0,
    double weightAdjustment = 0.0);

public:
  /// How confidently the plug-in owns the item. Default: 0.0.
  virtual double canOwnSubjectHierarchyItem(vtkIdType itemID) const;
  /// The role of the items the plug-in owns. Default: "Unknown".
  virtual QString roleForPlugin() const;
  /// Help shown with the subject hierarchy module. Default: empty.
  virtual QString helpText() const;
  /// Icon of an owned item. Default: an empty icon.
  virtual QIcon icon(vtkIdType itemID);
  /// Icon for a visibility state (0 hidden, 1 visible, 2 partly visible). Default: an empty icon.
  virtual QIcon visibilityIcon(int visible);
  /// The same when a parent of the item is hidden. Default: visibilityIcon().
  virtual QIcon visibilityIconWithParentHidden(int visible);
  /// Default: false.
  virtual bool canEditProperties(vtkIdType itemID);
  /// Default: nothing.
  virtual void editProperties(vtkIdType itemID);
  /// Name shown in the tree. Default: the item's name.
  virtual QString displayedItemName(vtkIdType itemID) const;
  /// Default: the item's name, then the class of its data node in parentheses when it has one.
  virtual QString tooltip(vtkIdType itemID) const;
  /// Default: sets the visibility of a displayable data node.
  virtual void setDisplayVisibility(vtkIdType itemID, int visible);
  /// Default: 1 or 0 for a displayable data node, -1 (not applicable) otherwise.
  virtual int getDisplayVisibility(vtkIdType itemID) const;
  /// Default: sets the colour of the data node's display node.
  virtual void setDisplayColor(vtkIdType itemID, QColor color);
  /// Default: the colour of the data node's display node, or an invalid colour.
  virtual QColor getDisplayColor(vtkIdType itemID) const;
  /// Actions of the item context menu. Default: none.
  virtual QList<QAction*> itemContextMenuActions() const;
  /// Actions of the context menu of the tree's background. Default: none.
  virtual QList<QAction*> sceneContextMenuActions() const;
  /// Makes visible those item actions that apply to the item. Default: nothing.
  virtual void showContextMenuActionsForItem(vtkIdType itemID);
  /// Actions of the visibility menu. Default: none.
  virtual QList<QAction*> visibilityContextMenuActions() const;
  virtual void showVisibilityContextMenuActionsForItem(vtkIdType itemID);
  /// Actions of the transform menu. Default: none.
  virtual QList<QAction*> transformContextMenuActions() const;
  virtual void showTransformContextMenuActionsForItem(vtkIdType itemID);
  /// Actions of the context menu of a view; \a eventData describes where the view was clicked.
  virtual QList<QAction*> viewContextMenuActions() const;
  virtual void showViewContextMenuActionsForItem(vtkIdType itemID, QVariantMap eventData);
  /// How confidently the plug-in adds the node under the parent item. Default: 0.0.
  virtual double canAddNodeToSubjectHierarchy(vtkKOVANode* node, vtkIdType parentItemID = 0) const;
  /// Adds an item for the node under the parent (the scene item when invalid). Default: a plain
  /// item; true when the node has an item afterwards.
  virtual bool addNodeToSubjectHierarchy(vtkKOVANode* node, vtkIdType parentItemID);
  /// Default: 0.0.
  virtual double canReparentItemInsideSubjectHierarchy(vtkIdType itemID,
    vtkIdType parentItemID) const;
  /// Default: moves the item under the parent.
  virtual bool reparentItemInsideSubjectHierarchy(vtkIdType itemID, vtkIdType parentItemID);
  /// Shows what the plug-in shows of the item in a view (all views when null); \a allItemsToShow
  /// holds every item being shown together. Default: nothing shown, false.
  virtual bool showItemInView(vtkIdType itemID,
    vtkKOVAAbstractViewNode* viewNode,
    vtkIdList* allItemsToShow);

  virtual QString name() const;
  virtual void setName(QString name);

protected:
  /// The plug-in's name; subclasses set it in their constructor.
  QString m_Name;

private:
  Q_DISABLE_COPY(qVireonSubjectHierarchyAbstractPlugin)
};

#endif
