#include "qVireonSubjectHierarchyDynamicModelerPlugin.h"

#include <qVireonSubjectHierarchyPluginHandler.h>

#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASubjectHierarchyNode.h>

#include <vtkVireonDynamicModelerAppendTool.h>
#include <vtkVireonDynamicModelerBoundaryCutTool.h>
#include <vtkVireonDynamicModelerCurveCutTool.h>
#include <vtkVireonDynamicModelerExtrudeTool.h>
#include <vtkVireonDynamicModelerHollowTool.h>
#include <vtkVireonDynamicModelerLogic.h>
#include <vtkVireonDynamicModelerMarginTool.h>
#include <vtkVireonDynamicModelerMirrorTool.h>
#include <vtkVireonDynamicModelerPlaneCutTool.h>
#include <vtkVireonDynamicModelerROICutTool.h>
#include <vtkVireonDynamicModelerRevolveTool.h>
#include <vtkVireonDynamicModelerSelectByPointsTool.h>
#include <vtkVireonDynamicModelerSubdivideTool.h>

#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include <QAction>
#include <QDebug>

#include <cstring>

namespace
{
// The tools whose pictures the plug-in shows, in the order it tries them.
struct ToolIcon
{
  vtkVireonDynamicModelerTool* (*New)();
  const char* Path;
};

template <class ToolClass>
vtkVireonDynamicModelerTool* newTool()
{
  return ToolClass::New();
}

const ToolIcon ToolIcons[] = {
  { &newTool<vtkVireonDynamicModelerPlaneCutTool>, ":Icons/PlaneCut.png" },
  { &newTool<vtkVireonDynamicModelerCurveCutTool>, ":Icons/CurveCut.png" },
  { &newTool<vtkVireonDynamicModelerBoundaryCutTool>, ":Icons/BoundaryCut.png" },
  { &newTool<vtkVireonDynamicModelerMirrorTool>, ":Icons/Mirror.png" },
  { &newTool<vtkVireonDynamicModelerExtrudeTool>, ":Icons/Extrude.png" },
  { &newTool<vtkVireonDynamicModelerRevolveTool>, ":Icons/Revolve.png" },
  { &newTool<vtkVireonDynamicModelerSubdivideTool>, ":Icons/Subdivide.png" },
  { &newTool<vtkVireonDynamicModelerHollowTool>, ":Icons/Hollow.png" },
  { &newTool<vtkVireonDynamicModelerMarginTool>, ":Icons/Margin.png" },
  { &newTool<vtkVireonDynamicModelerAppendTool>, ":Icons/Append.png" },
  { &newTool<vtkVireonDynamicModelerROICutTool>, ":Icons/ROICut.png" },
  { &newTool<vtkVireonDynamicModelerSelectByPointsTool>, ":Icons/SelectByPoints.png" },
};
}

//-----------------------------------------------------------------------------
class qVireonSubjectHierarchyDynamicModelerPluginPrivate : public QObject
{
  Q_DECLARE_PUBLIC(qVireonSubjectHierarchyDynamicModelerPlugin);

protected:
  qVireonSubjectHierarchyDynamicModelerPlugin* const q_ptr;

public:
  explicit qVireonSubjectHierarchyDynamicModelerPluginPrivate(
    qVireonSubjectHierarchyDynamicModelerPlugin& object);
  void init();

  QAction* ContinuousUpdateAction = nullptr;
  QAction* UpdateAction = nullptr;
  /// Not owned; a logic deleted early reads as none (instead of dangling).
  vtkWeakPointer<vtkVireonDynamicModelerLogic> DynamicModelerLogic;
};

qVireonSubjectHierarchyDynamicModelerPluginPrivate::
  qVireonSubjectHierarchyDynamicModelerPluginPrivate(
    qVireonSubjectHierarchyDynamicModelerPlugin& object)
  : q_ptr(&object)
{
}

void qVireonSubjectHierarchyDynamicModelerPluginPrivate::init()
{
  Q_Q(qVireonSubjectHierarchyDynamicModelerPlugin);
  this->ContinuousUpdateAction = new QAction(QStringLiteral("Continuous update"), q);
  this->ContinuousUpdateAction->setCheckable(true);
  QObject::connect(this->ContinuousUpdateAction,
    &QAction::triggered,
    q,
    &qVireonSubjectHierarchyDynamicModelerPlugin::continuousUpdateChanged);

  this->UpdateAction = new QAction(QStringLiteral("Update"), q);
  QObject::connect(this->UpdateAction,
    &QAction::triggered,
    q,
    &qVireonSubjectHierarchyDynamicModelerPlugin::updateTriggered);
}

//-----------------------------------------------------------------------------
qVireonSubjectHierarchyDynamicModelerPlugin::qVireonSubjectHierarchyDynamicModelerPlugin(
  QObject* parent)
  : Superclass(parent)
  , d_ptr(new qVireonSubjectHierarchyDynamicModelerPluginPrivate(*this))
{
  this->m_Name = QStringLiteral("DynamicModeler");
  Q_D(qVireonSubjectHierarchyDynamicModelerPlugin);
  d->init();
}

qVireonSubjectHierarchyDynamicModelerPlugin::~qVireonSubjectHierarchyDynamicModelerPlugin() =
  default;

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyDynamicModelerPlugin::setDynamicModelerLogic(
  vtkVireonDynamicModelerLogic* dynamicModelerLogic)
{
  Q_D(qVireonSubjectHierarchyDynamicModelerPlugin);
  d->DynamicModelerLogic = dynamicModelerLogic;
}

//-----------------------------------------------------------------------------
double qVireonSubjectHierarchyDynamicModelerPlugin::canAddNodeToSubjectHierarchy(vtkKOVANode* node,
  vtkIdType vtkNotUsed(parentItemID)) const
{
  if (!node)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Input node is NULL";
    return 0.0;
  }
  return node->IsA("vtkKOVADynamicModelerNode") ? 0.5 : 0.0;
}

//-----------------------------------------------------------------------------
double qVireonSubjectHierarchyDynamicModelerPlugin::canOwnSubjectHierarchyItem(
  vtkIdType itemID) const
{
  if (itemID == vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid input item";
    return 0.0;
  }
  vtkKOVASubjectHierarchyNode* shNode =
    qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return 0.0;
  }
  vtkKOVANode* associatedNode = shNode->GetItemDataNode(itemID);
  return associatedNode && associatedNode->IsA("vtkKOVADynamicModelerNode") ? 0.5 : 0.0;
}

//-----------------------------------------------------------------------------
QString qVireonSubjectHierarchyDynamicModelerPlugin::roleForPlugin() const
{
  return QStringLiteral("DynamicModeler");
}

//-----------------------------------------------------------------------------
QIcon qVireonSubjectHierarchyDynamicModelerPlugin::icon(vtkIdType itemID)
{
  if (itemID == vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid input item";
    return QIcon();
  }
  if (this->canOwnSubjectHierarchyItem(itemID) == 0.0)
  {
    return QIcon();
  }
  vtkKOVASubjectHierarchyNode* shNode =
    qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return QIcon();
  }
  vtkKOVADynamicModelerNode* dynamicModelerNode =
    vtkKOVADynamicModelerNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  if (!dynamicModelerNode || !dynamicModelerNode->GetToolName())
  {
    return QIcon();
  }
  const char* toolName = dynamicModelerNode->GetToolName();
  for (const ToolIcon& row : ToolIcons)
  {
    vtkSmartPointer<vtkVireonDynamicModelerTool> tool;
    tool.TakeReference(row.New());
    const char* name = tool ? tool->GetName() : nullptr;
    if (name && std::strcmp(name, toolName) == 0)
    {
      return QIcon(QString::fromLatin1(row.Path));
    }
  }
  return QIcon();
}

//-----------------------------------------------------------------------------
QList<QAction*> qVireonSubjectHierarchyDynamicModelerPlugin::itemContextMenuActions() const
{
  Q_D(const qVireonSubjectHierarchyDynamicModelerPlugin);
  return QList<QAction*>() << d->ContinuousUpdateAction << d->UpdateAction;
}

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyDynamicModelerPlugin::showContextMenuActionsForItem(vtkIdType itemID)
{
  Q_D(qVireonSubjectHierarchyDynamicModelerPlugin);
  if (itemID == vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid input item";
    return;
  }
  vtkKOVASubjectHierarchyNode* shNode =
    qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return;
  }
  vtkKOVADynamicModelerNode* dynamicModelerNode =
    vtkKOVADynamicModelerNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  if (!dynamicModelerNode)
  {
    return;
  }
  d->ContinuousUpdateAction->setVisible(true);
  d->ContinuousUpdateAction->setChecked(dynamicModelerNode->GetContinuousUpdate());
  d->UpdateAction->setVisible(true);
}

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyDynamicModelerPlugin::continuousUpdateChanged()
{
  qVireonSubjectHierarchyPluginHandler* handler = qVireonSubjectHierarchyPluginHandler::instance();
  vtkKOVASubjectHierarchyNode* shNode = handler->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return;
  }
  if (!handler->kovaScene())
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid KOVA scene";
    return;
  }
  const vtkIdType currentItemID = handler->currentItem();
  vtkKOVADynamicModelerNode* dynamicModelerNode =
    vtkKOVADynamicModelerNode::SafeDownCast(shNode->GetItemDataNode(currentItemID));
  if (!dynamicModelerNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to get DynamicModeler node by item ID "
                          << currentItemID;
    return;
  }
  dynamicModelerNode->SetContinuousUpdate(!dynamicModelerNode->GetContinuousUpdate());
}

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyDynamicModelerPlugin::updateTriggered()
{
  Q_D(qVireonSubjectHierarchyDynamicModelerPlugin);
  qVireonSubjectHierarchyPluginHandler* handler = qVireonSubjectHierarchyPluginHandler::instance();
  vtkKOVASubjectHierarchyNode* shNode = handler->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return;
  }
  if (!handler->kovaScene())
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid KOVA scene";
    return;
  }
  vtkKOVADynamicModelerNode* dynamicModelerNode =
    vtkKOVADynamicModelerNode::SafeDownCast(shNode->GetItemDataNode(handler->currentItem()));
  if (!dynamicModelerNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid dynamic modeler node";
    return;
  }
  if (!d->DynamicModelerLogic)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid dynamic modeler logic";
    return;
  }
  d->DynamicModelerLogic->RunDynamicModelerTool(dynamicModelerNode);
}
