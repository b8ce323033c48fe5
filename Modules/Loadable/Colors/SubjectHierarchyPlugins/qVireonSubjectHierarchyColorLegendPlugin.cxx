#include "qVireonSubjectHierarchyColorLegendPlugin.h"

#include <qVireonSubjectHierarchyPluginHandler.h>

#include <vtkKOVAColorLegendDisplayNode.h>
#include <vtkKOVADisplayNode.h>
#include <vtkKOVADisplayableNode.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVAViewNode.h>
// Newer scene libraries declare the scalar volume node in a header of its own.
#if __has_include(<vtkKOVAScalarVolumeNode.h>)
#include <vtkKOVAScalarVolumeNode.h>
#else
#include <vtkKOVAVolumeNode.h>
#endif

#include <vtkVireonColorLogic.h>

#include <QAction>
#include <QDebug>
#include <QSignalBlocker>

//-----------------------------------------------------------------------------
class qVireonSubjectHierarchyColorLegendPluginPrivate : public QObject
{
  Q_DECLARE_PUBLIC(qVireonSubjectHierarchyColorLegendPlugin);

protected:
  qVireonSubjectHierarchyColorLegendPlugin* const q_ptr;

public:
  explicit qVireonSubjectHierarchyColorLegendPluginPrivate(
    qVireonSubjectHierarchyColorLegendPlugin& object);
  void init();

  /// The display node of the item's displayable node, if it uses a colour table; else null.
  static vtkKOVADisplayNode* colorTableDisplayNode(vtkKOVASubjectHierarchyNode* shNode,
    vtkIdType itemID);
  /// Common part of showColorLegendInView and showColorLegendInSlice.
  bool showColorLegendInView(const char* function,
    bool show,
    vtkIdType itemID,
    vtkKOVAAbstractViewNode* viewNode);

  QAction* ShowColorLegendAction = nullptr;
};

qVireonSubjectHierarchyColorLegendPluginPrivate::qVireonSubjectHierarchyColorLegendPluginPrivate(
  qVireonSubjectHierarchyColorLegendPlugin& object)
  : q_ptr(&object)
{
}

void qVireonSubjectHierarchyColorLegendPluginPrivate::init()
{
  Q_Q(qVireonSubjectHierarchyColorLegendPlugin);
  this->ShowColorLegendAction =
    new QAction(qVireonSubjectHierarchyColorLegendPlugin::tr("Show color legend"), q);
  qVireonSubjectHierarchyAbstractPlugin::setActionPosition(this->ShowColorLegendAction, 0, 10, 0.0);
  QObject::connect(this->ShowColorLegendAction,
    &QAction::toggled,
    q,
    &qVireonSubjectHierarchyColorLegendPlugin::toggleVisibilityForCurrentItem);
  this->ShowColorLegendAction->setCheckable(true);
  this->ShowColorLegendAction->setChecked(false);
}

vtkKOVADisplayNode* qVireonSubjectHierarchyColorLegendPluginPrivate::colorTableDisplayNode(
  vtkKOVASubjectHierarchyNode* shNode,
  vtkIdType itemID)
{
  auto* displayableNode = vtkKOVADisplayableNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  vtkKOVADisplayNode* displayNode = displayableNode ? displayableNode->GetDisplayNode() : nullptr;
  if (!displayNode || !displayNode->GetColorNode())
  {
    return nullptr;
  }
  return displayNode;
}

bool qVireonSubjectHierarchyColorLegendPluginPrivate::showColorLegendInView(const char* function,
  bool show,
  vtkIdType itemID,
  vtkKOVAAbstractViewNode* viewNode)
{
  vtkKOVASubjectHierarchyNode* shNode =
    qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << function << ": Failed to access subject hierarchy node";
    return false;
  }
  vtkKOVAScalarVolumeNode* volumeNode =
    vtkKOVAScalarVolumeNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  if (!volumeNode)
  {
    qCritical().nospace() << function
                          << ": Failed to find scalar volume node associated to subject hierarchy "
                             "item "
                          << itemID;
    return false;
  }

  vtkKOVAColorLegendDisplayNode* legendNode =
    vtkVireonColorLogic::GetColorLegendDisplayNode(volumeNode);
  bool wasVisible = false;
  if (legendNode)
  {
    wasVisible = legendNode->GetVisibility() != 0;
  }
  else if (!show)
  {
    // Nothing to hide.
    return true;
  }
  else
  {
    legendNode = vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(volumeNode);
  }
  if (!legendNode)
  {
    qCritical().nospace() << function
                          << ": Failed to create color display node for scalar volume node "
                          << (volumeNode->GetName() ? volumeNode->GetName() : "");
    return false;
  }

  KOVANodeModifyBlocker blocker(legendNode);
  if (!viewNode)
  {
    legendNode->RemoveAllViewNodeIDs();
    legendNode->SetVisibility(show);
  }
  else if (show)
  {
    if (!wasVisible)
    {
      // Shown from now on only in the views added from here.
      legendNode->SetVisibility(true);
      legendNode->RemoveAllViewNodeIDs();
    }
    legendNode->AddViewNodeID(viewNode->GetID());
  }
  else
  {
    legendNode->SetVisibility(false);
  }
  return true;
}

//-----------------------------------------------------------------------------
qVireonSubjectHierarchyColorLegendPlugin::qVireonSubjectHierarchyColorLegendPlugin(QObject* parent)
  : Superclass(parent)
  , d_ptr(new qVireonSubjectHierarchyColorLegendPluginPrivate(*this))
{
  this->m_Name = QStringLiteral("ColorLegend");
  Q_D(qVireonSubjectHierarchyColorLegendPlugin);
  d->init();
}

qVireonSubjectHierarchyColorLegendPlugin::~qVireonSubjectHierarchyColorLegendPlugin() = default;

//-----------------------------------------------------------------------------
QList<QAction*> qVireonSubjectHierarchyColorLegendPlugin::visibilityContextMenuActions() const
{
  Q_D(const qVireonSubjectHierarchyColorLegendPlugin);
  return QList<QAction*>() << d->ShowColorLegendAction;
}

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyColorLegendPlugin::showVisibilityContextMenuActionsForItem(
  vtkIdType itemID)
{
  Q_D(qVireonSubjectHierarchyColorLegendPlugin);
  if (!itemID)
  {
    return;
  }
  vtkKOVASubjectHierarchyNode* shNode =
    qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return;
  }
  vtkKOVADisplayNode* displayNode = d->colorTableDisplayNode(shNode, itemID);
  if (!displayNode)
  {
    return;
  }
  vtkKOVAColorLegendDisplayNode* legendNode =
    vtkVireonColorLogic::GetColorLegendDisplayNode(displayNode);

  const QSignalBlocker blocker(d->ShowColorLegendAction);
  d->ShowColorLegendAction->setChecked(legendNode && legendNode->GetVisibility() != 0);
  d->ShowColorLegendAction->setVisible(true);
}

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyColorLegendPlugin::toggleVisibilityForCurrentItem(bool on)
{
  Q_D(qVireonSubjectHierarchyColorLegendPlugin);
  const vtkIdType itemID = qVireonSubjectHierarchyPluginHandler::instance()->currentItem();
  if (itemID == vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID)
  {
    return;
  }
  vtkKOVASubjectHierarchyNode* shNode =
    qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return;
  }
  vtkKOVADisplayNode* displayNode = d->colorTableDisplayNode(shNode, itemID);
  if (!displayNode)
  {
    return;
  }
  vtkKOVAColorLegendDisplayNode* legendNode =
    on ? vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(displayNode)
       : vtkVireonColorLogic::GetColorLegendDisplayNode(displayNode);
  if (legendNode)
  {
    legendNode->SetVisibility(on);
    legendNode->SetHiddenByUser(!on);
  }
}

//-----------------------------------------------------------------------------
bool qVireonSubjectHierarchyColorLegendPlugin::showColorLegendInView(bool show,
  vtkIdType itemID,
  vtkKOVAViewNode* viewNode)
{
  Q_D(qVireonSubjectHierarchyColorLegendPlugin);
  return d->showColorLegendInView(Q_FUNC_INFO, show, itemID, viewNode);
}

bool qVireonSubjectHierarchyColorLegendPlugin::showColorLegendInSlice(bool show,
  vtkIdType itemID,
  vtkKOVASliceNode* sliceNode)
{
  Q_D(qVireonSubjectHierarchyColorLegendPlugin);
  return d->showColorLegendInView(Q_FUNC_INFO, show, itemID, sliceNode);
}

//-----------------------------------------------------------------------------
bool qVireonSubjectHierarchyColorLegendPlugin::showItemInView(vtkIdType itemID,
  vtkKOVAAbstractViewNode* viewNode,
  vtkIdList* vtkNotUsed(allItemsToShow))
{
  vtkKOVASubjectHierarchyNode* shNode =
    qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return false;
  }
  vtkKOVAScalarVolumeNode* volumeNode =
    vtkKOVAScalarVolumeNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  if (!volumeNode)
  {
    qCritical().nospace() << Q_FUNC_INFO
                          << ": Failed to find scalar volume node associated to subject hierarchy "
                             "item "
                          << itemID;
    return false;
  }

  vtkKOVAColorLegendDisplayNode* legendNode =
    vtkVireonColorLogic::GetColorLegendDisplayNode(volumeNode);
  bool wasVisible = false;
  if (legendNode)
  {
    wasVisible = legendNode->GetVisibility() != 0;
  }
  else
  {
    legendNode = vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(volumeNode);
  }
  if (!legendNode)
  {
    qCritical().nospace() << Q_FUNC_INFO
                          << ": Failed to create color display node for scalar volume node "
                          << (volumeNode->GetName() ? volumeNode->GetName() : "");
    return false;
  }

  KOVANodeModifyBlocker blocker(legendNode);
  if (viewNode)
  {
    if (!wasVisible)
    {
      legendNode->SetVisibility(true);
    }
    legendNode->AddViewNodeID(viewNode->GetID());
  }
  else
  {
    legendNode->RemoveAllViewNodeIDs();
    legendNode->SetVisibility(true);
  }
  return true;
}
