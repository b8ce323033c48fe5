#include "qVireonSubjectHierarchyAbstractPlugin.h"

#include "qVireonSubjectHierarchyPluginHandler.h"

#include <vtkKOVADisplayNode.h>
#include <vtkKOVADisplayableNode.h>
#include <vtkKOVASubjectHierarchyNode.h>

#include <QAction>
#include <QDebug>

const char* const qVireonSubjectHierarchyAbstractPlugin::SectionPropertyName = "section";
const char* const qVireonSubjectHierarchyAbstractPlugin::WeightPropertyName = "weight";
const char* const qVireonSubjectHierarchyAbstractPlugin::WeightAdjustmentPropertyName =
  "weightAdjustment";

namespace
{
vtkKOVASubjectHierarchyNode* subjectHierarchyNode()
{
  return qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
}
}

//-----------------------------------------------------------------------------
qVireonSubjectHierarchyAbstractPlugin::qVireonSubjectHierarchyAbstractPlugin(QObject* parent)
  : QObject(parent)
  , m_Name(QStringLiteral("UnnamedSubjectHierarchyPlugin"))
{
}

qVireonSubjectHierarchyAbstractPlugin::~qVireonSubjectHierarchyAbstractPlugin() = default;

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyAbstractPlugin::setActionPosition(QAction* action,
  int section,
  int weight,
  double weightAdjustment)
{
  if (!action)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid action";
    return;
  }
  action->setProperty(SectionPropertyName, section);
  action->setProperty(WeightPropertyName, weight);
  action->setProperty(WeightAdjustmentPropertyName, weightAdjustment);
}

//-----------------------------------------------------------------------------
double qVireonSubjectHierarchyAbstractPlugin::canOwnSubjectHierarchyItem(vtkIdType) const
{
  return 0.0;
}

QString qVireonSubjectHierarchyAbstractPlugin::roleForPlugin() const
{
  return QStringLiteral("Unknown");
}

QString qVireonSubjectHierarchyAbstractPlugin::helpText() const
{
  return QString();
}

QIcon qVireonSubjectHierarchyAbstractPlugin::icon(vtkIdType)
{
  return QIcon();
}

QIcon qVireonSubjectHierarchyAbstractPlugin::visibilityIcon(int)
{
  return QIcon();
}

QIcon qVireonSubjectHierarchyAbstractPlugin::visibilityIconWithParentHidden(int visible)
{
  return this->visibilityIcon(visible);
}

bool qVireonSubjectHierarchyAbstractPlugin::canEditProperties(vtkIdType)
{
  return false;
}

void qVireonSubjectHierarchyAbstractPlugin::editProperties(vtkIdType) {}

//-----------------------------------------------------------------------------
QString qVireonSubjectHierarchyAbstractPlugin::displayedItemName(vtkIdType itemID) const
{
  vtkKOVASubjectHierarchyNode* shNode = subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return QString();
  }
  return QString::fromStdString(shNode->GetItemName(itemID));
}

//-----------------------------------------------------------------------------
QString qVireonSubjectHierarchyAbstractPlugin::tooltip(vtkIdType itemID) const
{
  if (itemID == vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid input item";
    return QString();
  }
  vtkKOVASubjectHierarchyNode* shNode = subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return QString();
  }
  QString tooltip = QString::fromStdString(shNode->GetItemName(itemID));
  if (vtkKOVANode* dataNode = shNode->GetItemDataNode(itemID))
  {
    tooltip += QStringLiteral(" (%1)").arg(QString::fromUtf8(dataNode->GetClassName()));
  }
  return tooltip;
}

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyAbstractPlugin::setDisplayVisibility(vtkIdType itemID, int visible)
{
  vtkKOVASubjectHierarchyNode* shNode = subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return;
  }
  if (auto* displayable = vtkKOVADisplayableNode::SafeDownCast(shNode->GetItemDataNode(itemID)))
  {
    displayable->SetDisplayVisibility(visible != 0);
  }
}

int qVireonSubjectHierarchyAbstractPlugin::getDisplayVisibility(vtkIdType itemID) const
{
  vtkKOVASubjectHierarchyNode* shNode = subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return -1;
  }
  auto* displayable = vtkKOVADisplayableNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  if (!displayable)
  {
    return -1;
  }
  return displayable->GetDisplayVisibility() ? 1 : 0;
}

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyAbstractPlugin::setDisplayColor(vtkIdType itemID, QColor color)
{
  vtkKOVASubjectHierarchyNode* shNode = subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return;
  }
  auto* displayable = vtkKOVADisplayableNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  vtkKOVADisplayNode* displayNode = displayable ? displayable->GetDisplayNode() : nullptr;
  if (displayNode && color.isValid())
  {
    displayNode->SetColor(color.redF(), color.greenF(), color.blueF());
  }
}

QColor qVireonSubjectHierarchyAbstractPlugin::getDisplayColor(vtkIdType itemID) const
{
  vtkKOVASubjectHierarchyNode* shNode = subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return QColor();
  }
  auto* displayable = vtkKOVADisplayableNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  vtkKOVADisplayNode* displayNode = displayable ? displayable->GetDisplayNode() : nullptr;
  if (!displayNode)
  {
    return QColor();
  }
  const double* rgb = displayNode->GetColor();
  return QColor::fromRgbF(rgb[0], rgb[1], rgb[2]);
}

//-----------------------------------------------------------------------------
QList<QAction*> qVireonSubjectHierarchyAbstractPlugin::itemContextMenuActions() const
{
  return QList<QAction*>();
}

QList<QAction*> qVireonSubjectHierarchyAbstractPlugin::sceneContextMenuActions() const
{
  return QList<QAction*>();
}

void qVireonSubjectHierarchyAbstractPlugin::showContextMenuActionsForItem(vtkIdType) {}

QList<QAction*> qVireonSubjectHierarchyAbstractPlugin::visibilityContextMenuActions() const
{
  return QList<QAction*>();
}

void qVireonSubjectHierarchyAbstractPlugin::showVisibilityContextMenuActionsForItem(vtkIdType) {}

QList<QAction*> qVireonSubjectHierarchyAbstractPlugin::transformContextMenuActions() const
{
  return QList<QAction*>();
}

void qVireonSubjectHierarchyAbstractPlugin::showTransformContextMenuActionsForItem(vtkIdType) {}

QList<QAction*> qVireonSubjectHierarchyAbstractPlugin::viewContextMenuActions() const
{
  return QList<QAction*>();
}

void qVireonSubjectHierarchyAbstractPlugin::showViewContextMenuActionsForItem(vtkIdType,
  QVariantMap)
{
}

//-----------------------------------------------------------------------------
double qVireonSubjectHierarchyAbstractPlugin::canAddNodeToSubjectHierarchy(vtkKOVANode*,
  vtkIdType) const
{
  return 0.0;
}

bool qVireonSubjectHierarchyAbstractPlugin::addNodeToSubjectHierarchy(vtkKOVANode* node,
  vtkIdType parentItemID)
{
  if (!node)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Input node is nullptr";
    return false;
  }
  vtkKOVASubjectHierarchyNode* shNode = subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return false;
  }
  const vtkIdType itemID = shNode->CreateItem(parentItemID, node);
  if (itemID == vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to add node "
                          << (node->GetName() ? node->GetName() : "") << " to subject hierarchy";
    return false;
  }
  return true;
}

double qVireonSubjectHierarchyAbstractPlugin::canReparentItemInsideSubjectHierarchy(vtkIdType,
  vtkIdType) const
{
  return 0.0;
}

bool qVireonSubjectHierarchyAbstractPlugin::reparentItemInsideSubjectHierarchy(vtkIdType itemID,
  vtkIdType parentItemID)
{
  vtkKOVASubjectHierarchyNode* shNode = subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return false;
  }
  return shNode->SetItemParent(itemID, parentItemID);
}

bool qVireonSubjectHierarchyAbstractPlugin::showItemInView(vtkIdType,
  vtkKOVAAbstractViewNode*,
  vtkIdList*)
{
  return false;
}

//-----------------------------------------------------------------------------
QString qVireonSubjectHierarchyAbstractPlugin::name() const
{
  return m_Name;
}

void qVireonSubjectHierarchyAbstractPlugin::setName(QString name)
{
  m_Name = name;
}
