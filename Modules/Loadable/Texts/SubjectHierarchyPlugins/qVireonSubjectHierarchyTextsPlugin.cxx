#include "qVireonSubjectHierarchyTextsPlugin.h"

#include <qKOVATextEncoding.h>
#include <qVireonSubjectHierarchyPluginHandler.h>

#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVATextNode.h>

#include <QDebug>

//-----------------------------------------------------------------------------
class qVireonSubjectHierarchyTextsPluginPrivate : public QObject
{
  Q_DECLARE_PUBLIC(qVireonSubjectHierarchyTextsPlugin);

protected:
  qVireonSubjectHierarchyTextsPlugin* const q_ptr;

public:
  explicit qVireonSubjectHierarchyTextsPluginPrivate(qVireonSubjectHierarchyTextsPlugin& object);

  QIcon TextIcon;
};

qVireonSubjectHierarchyTextsPluginPrivate::qVireonSubjectHierarchyTextsPluginPrivate(
  qVireonSubjectHierarchyTextsPlugin& object)
  : q_ptr(&object)
  , TextIcon(QIcon(QStringLiteral(":Icons/Text.png")))
{
}

//-----------------------------------------------------------------------------
qVireonSubjectHierarchyTextsPlugin::qVireonSubjectHierarchyTextsPlugin(QObject* parent)
  : Superclass(parent)
  , d_ptr(new qVireonSubjectHierarchyTextsPluginPrivate(*this))
{
  this->m_Name = QStringLiteral("Texts");
}

qVireonSubjectHierarchyTextsPlugin::~qVireonSubjectHierarchyTextsPlugin() = default;

//-----------------------------------------------------------------------------
double qVireonSubjectHierarchyTextsPlugin::canAddNodeToSubjectHierarchy(vtkKOVANode* node,
  vtkIdType vtkNotUsed(parentItemID)) const
{
  if (!node)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Input node is nullptr!";
    return 0.0;
  }
  return node->IsA("vtkKOVATextNode") ? 0.5 : 0.0;
}

//-----------------------------------------------------------------------------
double qVireonSubjectHierarchyTextsPlugin::canOwnSubjectHierarchyItem(vtkIdType itemID) const
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
  return associatedNode && associatedNode->IsA("vtkKOVATextNode") ? 0.5 : 0.0;
}

//-----------------------------------------------------------------------------
QString qVireonSubjectHierarchyTextsPlugin::roleForPlugin() const
{
  return QStringLiteral("Text");
}

//-----------------------------------------------------------------------------
QIcon qVireonSubjectHierarchyTextsPlugin::icon(vtkIdType itemID)
{
  Q_D(qVireonSubjectHierarchyTextsPlugin);
  if (itemID == vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid input item";
    return QIcon();
  }
  if (this->canOwnSubjectHierarchyItem(itemID) != 0.0)
  {
    return d->TextIcon;
  }
  return QIcon();
}

//-----------------------------------------------------------------------------
QString qVireonSubjectHierarchyTextsPlugin::tooltip(vtkIdType itemID) const
{
  if (itemID == vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid input item";
    return QStringLiteral("Invalid!");
  }
  vtkKOVASubjectHierarchyNode* shNode =
    qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
  if (!shNode)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Failed to access subject hierarchy node";
    return QStringLiteral("Error!");
  }

  QString tooltipString = Superclass::tooltip(itemID);
  vtkKOVATextNode* textNode = vtkKOVATextNode::SafeDownCast(shNode->GetItemDataNode(itemID));
  if (textNode)
  {
    // The text is decoded by its encoding label, as the text widget shows it.
    tooltipString +=
      QString::fromStdString(" (Encoding: " + textNode->GetEncodingAsString() + ")\n") +
      qKOVATextEncoding::toQString(textNode->GetText(), textNode->GetEncoding());
  }
  return tooltipString;
}
