#ifndef qVireonSubjectHierarchyColorLegendPlugin_h
#define qVireonSubjectHierarchyColorLegendPlugin_h

#include "qVireonColorsSubjectHierarchyPluginsExport.h"

#include <qVireonSubjectHierarchyAbstractPlugin.h>

#include <QScopedPointer>

class vtkKOVASliceNode;
class vtkKOVAViewNode;
class qVireonSubjectHierarchyColorLegendPluginPrivate;

/// Subject hierarchy plug-in for colour legends: a checkable "Show color legend" entry in the
/// visibility menu of items whose display node uses a colour table, and showing a scalar volume's
/// legend in chosen views. It owns no items.
class QVIREONCOLORSSUBJECTHIERARCHYPLUGINS_EXPORT qVireonSubjectHierarchyColorLegendPlugin
  : public qVireonSubjectHierarchyAbstractPlugin
{
  Q_OBJECT

public:
  typedef qVireonSubjectHierarchyAbstractPlugin Superclass;
  explicit qVireonSubjectHierarchyColorLegendPlugin(QObject* parent = nullptr);
  ~qVireonSubjectHierarchyColorLegendPlugin() override;

  /// "Show color legend".
  QList<QAction*> visibilityContextMenuActions() const override;
  /// Shows the entry for a displayable node whose display node uses a colour table, checked when
  /// its legend is visible.
  void showVisibilityContextMenuActionsForItem(vtkIdType itemID) override;
  /// Shows the legend of a scalar volume in the view (in all views when null), adding the view to
  /// the views the legend is shown in. \a allItemsToShow is not used.
  bool showItemInView(vtkIdType itemID,
    vtkKOVAAbstractViewNode* viewNode,
    vtkIdList* allItemsToShow) override;

  /// Shows or hides the legend of a scalar volume in one 3D view, or in all views when the view is
  /// null. Showing in a view while the legend is hidden shows it in that view only; hiding in a
  /// view hides it everywhere. Hiding a legend that does not exist succeeds and creates none.
  bool showColorLegendInView(bool show, vtkIdType itemID, vtkKOVAViewNode* viewNode);
  /// The same with a slice view.
  bool showColorLegendInSlice(bool show, vtkIdType itemID, vtkKOVASliceNode* sliceNode);

protected slots:
  /// Shows or hides the legend of the current item.
  void toggleVisibilityForCurrentItem(bool on);

protected:
  QScopedPointer<qVireonSubjectHierarchyColorLegendPluginPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qVireonSubjectHierarchyColorLegendPlugin)
  Q_DISABLE_COPY(qVireonSubjectHierarchyColorLegendPlugin)
};

#endif
