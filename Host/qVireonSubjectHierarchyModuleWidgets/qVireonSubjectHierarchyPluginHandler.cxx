#include "qVireonSubjectHierarchyPluginHandler.h"

#include "qVireonSubjectHierarchyAbstractPlugin.h"

#include <vtkKOVAScene.h>
#include <vtkKOVASubjectHierarchyNode.h>

#include <vtkWeakPointer.h>

#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QPointer>
#include <QVariant>

#include <algorithm>
#include <functional>

namespace
{
qVireonSubjectHierarchyPluginHandler* handlerInstance = nullptr;

// Menu order: section, then weight plus adjustment; actions without a position last.
bool actionComesBefore(const QAction* a, const QAction* b)
{
  const QVariant sectionA = a->property(qVireonSubjectHierarchyAbstractPlugin::SectionPropertyName);
  const QVariant sectionB = b->property(qVireonSubjectHierarchyAbstractPlugin::SectionPropertyName);
  if (sectionA.isValid() != sectionB.isValid())
  {
    return sectionA.isValid();
  }
  if (!sectionA.isValid())
  {
    return false;
  }
  if (sectionA.toInt() != sectionB.toInt())
  {
    return sectionA.toInt() < sectionB.toInt();
  }
  auto weight = [](const QAction* action)
  {
    return action->property(qVireonSubjectHierarchyAbstractPlugin::WeightPropertyName).toInt() +
           action->property(qVireonSubjectHierarchyAbstractPlugin::WeightAdjustmentPropertyName)
             .toDouble();
  };
  return weight(a) < weight(b);
}
}

//-----------------------------------------------------------------------------
class qVireonSubjectHierarchyPluginHandlerPrivate
{
public:
  using ActionsOf = std::function<QList<QAction*>(qVireonSubjectHierarchyAbstractPlugin*)>;
  using ShowFor = std::function<void(qVireonSubjectHierarchyAbstractPlugin*, vtkIdType)>;

  QList<qVireonSubjectHierarchyAbstractPlugin*> plugins() const;
  QList<QAction*> serveMenu(vtkIdType itemID, const ActionsOf& actionsOf, const ShowFor& showFor);

  QList<QPointer<qVireonSubjectHierarchyAbstractPlugin>> Plugins;
  vtkWeakPointer<vtkKOVAScene> Scene;
  vtkWeakPointer<vtkKOVASubjectHierarchyNode> SubjectHierarchyNode;
  vtkIdType CurrentItemID = vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID;
};

QList<qVireonSubjectHierarchyAbstractPlugin*> qVireonSubjectHierarchyPluginHandlerPrivate::plugins()
  const
{
  QList<qVireonSubjectHierarchyAbstractPlugin*> plugins;
  for (const auto& plugin : this->Plugins)
  {
    if (plugin)
    {
      plugins << plugin.data();
    }
  }
  return plugins;
}

QList<QAction*> qVireonSubjectHierarchyPluginHandlerPrivate::serveMenu(vtkIdType itemID,
  const ActionsOf& actionsOf,
  const ShowFor& showFor)
{
  this->CurrentItemID = itemID;
  const QList<qVireonSubjectHierarchyAbstractPlugin*> plugins = this->plugins();
  QList<QAction*> actions;
  for (qVireonSubjectHierarchyAbstractPlugin* plugin : plugins)
  {
    for (QAction* action : actionsOf(plugin))
    {
      if (action)
      {
        action->setVisible(false);
        actions << action;
      }
    }
  }
  for (qVireonSubjectHierarchyAbstractPlugin* plugin : plugins)
  {
    showFor(plugin, itemID);
  }
  QList<QAction*> visible;
  std::copy_if(actions.begin(),
    actions.end(),
    std::back_inserter(visible),
    [](const QAction* action) { return action->isVisible(); });
  std::stable_sort(visible.begin(), visible.end(), actionComesBefore);
  return visible;
}

//-----------------------------------------------------------------------------
qVireonSubjectHierarchyPluginHandler::qVireonSubjectHierarchyPluginHandler()
  : d_ptr(new qVireonSubjectHierarchyPluginHandlerPrivate)
{
}

qVireonSubjectHierarchyPluginHandler::~qVireonSubjectHierarchyPluginHandler()
{
  // The plug-ins are children; delete them while the handler is still whole, as their
  // destructors may ask it for the scene.
  Q_D(qVireonSubjectHierarchyPluginHandler);
  for (const auto& plugin : d->Plugins)
  {
    delete plugin.data();
  }
  d->Plugins.clear();
}

//-----------------------------------------------------------------------------
qVireonSubjectHierarchyPluginHandler* qVireonSubjectHierarchyPluginHandler::instance()
{
  if (!handlerInstance)
  {
    static bool postRoutineAdded = false;
    if (!postRoutineAdded)
    {
      qAddPostRoutine(&qVireonSubjectHierarchyPluginHandler::cleanup);
      postRoutineAdded = true;
    }
    handlerInstance = new qVireonSubjectHierarchyPluginHandler;
  }
  return handlerInstance;
}

void qVireonSubjectHierarchyPluginHandler::cleanup()
{
  qVireonSubjectHierarchyPluginHandler* handler = handlerInstance;
  handlerInstance = nullptr;
  delete handler;
}

//-----------------------------------------------------------------------------
void qVireonSubjectHierarchyPluginHandler::setKOVAScene(vtkKOVAScene* scene)
{
  Q_D(qVireonSubjectHierarchyPluginHandler);
  d->Scene = scene;
  d->SubjectHierarchyNode = vtkKOVASubjectHierarchyNode::ResolveSubjectHierarchy(scene);
  d->CurrentItemID = vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID;
}

vtkKOVAScene* qVireonSubjectHierarchyPluginHandler::kovaScene() const
{
  Q_D(const qVireonSubjectHierarchyPluginHandler);
  return d->Scene;
}

void qVireonSubjectHierarchyPluginHandler::setSubjectHierarchyNode(
  vtkKOVASubjectHierarchyNode* shNode)
{
  Q_D(qVireonSubjectHierarchyPluginHandler);
  d->SubjectHierarchyNode = shNode;
}

vtkKOVASubjectHierarchyNode* qVireonSubjectHierarchyPluginHandler::subjectHierarchyNode() const
{
  Q_D(const qVireonSubjectHierarchyPluginHandler);
  return d->SubjectHierarchyNode;
}

//-----------------------------------------------------------------------------
bool qVireonSubjectHierarchyPluginHandler::registerPlugin(
  qVireonSubjectHierarchyAbstractPlugin* plugin)
{
  Q_D(qVireonSubjectHierarchyPluginHandler);
  if (!plugin)
  {
    qCritical().nospace() << Q_FUNC_INFO << ": Invalid plugin";
    return false;
  }
  for (qVireonSubjectHierarchyAbstractPlugin* registered : d->plugins())
  {
    if (registered == plugin || registered->name() == plugin->name())
    {
      qCritical().nospace().noquote()
        << Q_FUNC_INFO << ": A plugin named " << plugin->name() << " is already registered";
      return false;
    }
  }
  plugin->setParent(this);
  d->Plugins << plugin;
  return true;
}

QList<qVireonSubjectHierarchyAbstractPlugin*> qVireonSubjectHierarchyPluginHandler::allPlugins()
  const
{
  Q_D(const qVireonSubjectHierarchyPluginHandler);
  return d->plugins();
}

qVireonSubjectHierarchyAbstractPlugin* qVireonSubjectHierarchyPluginHandler::pluginByName(
  const QString& name) const
{
  Q_D(const qVireonSubjectHierarchyPluginHandler);
  for (qVireonSubjectHierarchyAbstractPlugin* plugin : d->plugins())
  {
    if (plugin->name() == name)
    {
      return plugin;
    }
  }
  return nullptr;
}

//-----------------------------------------------------------------------------
qVireonSubjectHierarchyAbstractPlugin*
qVireonSubjectHierarchyPluginHandler::findOwnerPluginForSubjectHierarchyItem(vtkIdType itemID,
  double* confidence) const
{
  Q_D(const qVireonSubjectHierarchyPluginHandler);
  qVireonSubjectHierarchyAbstractPlugin* owner = nullptr;
  double best = 0.0;
  for (qVireonSubjectHierarchyAbstractPlugin* plugin : d->plugins())
  {
    const double value = plugin->canOwnSubjectHierarchyItem(itemID);
    if (value > best)
    {
      best = value;
      owner = plugin;
    }
  }
  if (confidence)
  {
    *confidence = best;
  }
  return owner;
}

qVireonSubjectHierarchyAbstractPlugin*
qVireonSubjectHierarchyPluginHandler::findPluginForAddingNode(vtkKOVANode* node,
  vtkIdType parentItemID,
  double* confidence) const
{
  Q_D(const qVireonSubjectHierarchyPluginHandler);
  qVireonSubjectHierarchyAbstractPlugin* chosen = nullptr;
  double best = 0.0;
  for (qVireonSubjectHierarchyAbstractPlugin* plugin : d->plugins())
  {
    const double value = plugin->canAddNodeToSubjectHierarchy(node, parentItemID);
    if (value > best)
    {
      best = value;
      chosen = plugin;
    }
  }
  if (confidence)
  {
    *confidence = best;
  }
  return chosen;
}

//-----------------------------------------------------------------------------
vtkIdType qVireonSubjectHierarchyPluginHandler::currentItem() const
{
  Q_D(const qVireonSubjectHierarchyPluginHandler);
  return d->CurrentItemID;
}

void qVireonSubjectHierarchyPluginHandler::setCurrentItem(vtkIdType itemID)
{
  Q_D(qVireonSubjectHierarchyPluginHandler);
  d->CurrentItemID = itemID;
}

//-----------------------------------------------------------------------------
QList<QAction*> qVireonSubjectHierarchyPluginHandler::itemContextMenuActionsForItem(
  vtkIdType itemID)
{
  Q_D(qVireonSubjectHierarchyPluginHandler);
  return d->serveMenu(
    itemID,
    [](qVireonSubjectHierarchyAbstractPlugin* plugin) { return plugin->itemContextMenuActions(); },
    [](qVireonSubjectHierarchyAbstractPlugin* plugin, vtkIdType item)
    { plugin->showContextMenuActionsForItem(item); });
}

QList<QAction*> qVireonSubjectHierarchyPluginHandler::visibilityContextMenuActionsForItem(
  vtkIdType itemID)
{
  Q_D(qVireonSubjectHierarchyPluginHandler);
  return d->serveMenu(
    itemID,
    [](qVireonSubjectHierarchyAbstractPlugin* plugin)
    { return plugin->visibilityContextMenuActions(); },
    [](qVireonSubjectHierarchyAbstractPlugin* plugin, vtkIdType item)
    { plugin->showVisibilityContextMenuActionsForItem(item); });
}

QList<QAction*> qVireonSubjectHierarchyPluginHandler::transformContextMenuActionsForItem(
  vtkIdType itemID)
{
  Q_D(qVireonSubjectHierarchyPluginHandler);
  return d->serveMenu(
    itemID,
    [](qVireonSubjectHierarchyAbstractPlugin* plugin)
    { return plugin->transformContextMenuActions(); },
    [](qVireonSubjectHierarchyAbstractPlugin* plugin, vtkIdType item)
    { plugin->showTransformContextMenuActionsForItem(item); });
}
