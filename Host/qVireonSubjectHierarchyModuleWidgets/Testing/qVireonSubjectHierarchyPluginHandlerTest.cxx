// The plug-in handler as modules use it: registration, ownership by confidence, the context menu
// protocol and the base plug-in's defaults.
#include <qVireonSubjectHierarchyAbstractPlugin.h>
#include <qVireonSubjectHierarchyPluginHandler.h>
#include <qVireonTestMessageCapture.h>

#include <vtkKOVAModelNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVATestDisplayNode.h>
#include <vtkKOVATextNode.h>

#include <vtkNew.h>

#include <QAction>
#include <QPointer>

#include <gtest/gtest.h>

namespace
{
::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new qVireonTestApplicationEnvironment);

/// Claims nodes of one class with a fixed confidence; one item action, shown for those nodes,
/// and a visibility action shown for every item.
class TestPlugin : public qVireonSubjectHierarchyAbstractPlugin
{
public:
  TestPlugin(const QString& name, const char* nodeClass, double confidence)
    : NodeClass(nodeClass)
    , Confidence(confidence)
  {
    this->m_Name = name;
    this->ItemAction = new QAction(name + " item", this);
    this->VisibilityAction = new QAction(name + " visibility", this);
  }
  double canOwnSubjectHierarchyItem(vtkIdType itemID) const override
  {
    vtkKOVASubjectHierarchyNode* shNode =
      qVireonSubjectHierarchyPluginHandler::instance()->subjectHierarchyNode();
    vtkKOVANode* node = shNode ? shNode->GetItemDataNode(itemID) : nullptr;
    return node && node->IsA(this->NodeClass) ? this->Confidence : 0.0;
  }
  double canAddNodeToSubjectHierarchy(vtkKOVANode* node, vtkIdType) const override
  {
    return node && node->IsA(this->NodeClass) ? this->Confidence : 0.0;
  }
  QList<QAction*> itemContextMenuActions() const override { return { this->ItemAction }; }
  void showContextMenuActionsForItem(vtkIdType itemID) override
  {
    this->ShownFor = qVireonSubjectHierarchyPluginHandler::instance()->currentItem();
    this->HiddenWhenAsked = !this->ItemAction->isVisible();
    if (this->canOwnSubjectHierarchyItem(itemID) > 0.0)
    {
      this->ItemAction->setVisible(true);
    }
  }
  QList<QAction*> visibilityContextMenuActions() const override
  {
    return { this->VisibilityAction };
  }
  void showVisibilityContextMenuActionsForItem(vtkIdType) override
  {
    this->VisibilityAction->setVisible(true);
  }

  const char* NodeClass;
  double Confidence;
  QAction* ItemAction;
  QAction* VisibilityAction;
  vtkIdType ShownFor = -1;
  bool HiddenWhenAsked = false;
};

class PluginHandlerTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    this->Handler = qVireonSubjectHierarchyPluginHandler::instance();
    this->Handler->setKOVAScene(this->Scene);
    this->SH = this->Handler->subjectHierarchyNode();
    this->Text = scene()->AddNewNodeByClass("vtkKOVATextNode", "Notes");
    this->Model = scene()->AddNewNodeByClass("vtkKOVAModelNode", "Bone");
  }
  void TearDown() override { qVireonSubjectHierarchyPluginHandler::cleanup(); }
  vtkKOVAScene* scene() { return this->Scene; }
  vtkIdType item(vtkKOVANode* node) { return this->SH->GetItemByDataNode(node); }

  vtkNew<vtkKOVAScene> Scene;
  qVireonSubjectHierarchyPluginHandler* Handler = nullptr;
  vtkKOVASubjectHierarchyNode* SH = nullptr;
  vtkKOVANode* Text = nullptr;
  vtkKOVANode* Model = nullptr;
};
}

TEST_F(PluginHandlerTest, SceneAndSubjectHierarchyNode)
{
  EXPECT_EQ(this->Handler, qVireonSubjectHierarchyPluginHandler::instance());
  EXPECT_EQ(this->Handler->kovaScene(), this->Scene.GetPointer());
  ASSERT_NE(this->SH, nullptr);
  EXPECT_EQ(this->SH->GetScene(), this->Scene.GetPointer());
  EXPECT_NE(item(this->Text), vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID);

  this->Handler->setKOVAScene(nullptr);
  EXPECT_EQ(this->Handler->kovaScene(), nullptr);
  EXPECT_EQ(this->Handler->subjectHierarchyNode(), nullptr);
  // A hierarchy node on its own, without a scene.
  vtkNew<vtkKOVASubjectHierarchyNode> loose;
  this->Handler->setSubjectHierarchyNode(loose);
  EXPECT_EQ(this->Handler->subjectHierarchyNode(), loose.GetPointer());
  EXPECT_EQ(this->Handler->kovaScene(), nullptr);
}

TEST_F(PluginHandlerTest, RegistrationOwnsPluginsAndRefusesDuplicates)
{
  qVireonTestMessageCapture messages;
  QPointer<TestPlugin> text = new TestPlugin("TextLike", "vtkKOVATextNode", 0.5);
  EXPECT_TRUE(this->Handler->registerPlugin(text));
  EXPECT_EQ(text->parent(), this->Handler);

  EXPECT_FALSE(this->Handler->registerPlugin(nullptr));
  EXPECT_FALSE(this->Handler->registerPlugin(text));
  auto* sameName = new TestPlugin("TextLike", "vtkKOVAModelNode", 0.5);
  EXPECT_FALSE(this->Handler->registerPlugin(sameName));
  delete sameName;
  ASSERT_EQ(messages.criticals().size(), 3);
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Invalid plugin"));
  EXPECT_TRUE(
    messages.criticals()[1].contains("qVireonSubjectHierarchyPluginHandler::registerPlugin("));
  EXPECT_TRUE(messages.criticals()[1].endsWith(": A plugin named TextLike is already registered"));

  EXPECT_EQ(
    this->Handler->allPlugins(), QList<qVireonSubjectHierarchyAbstractPlugin*>{ text.data() });
  EXPECT_EQ(this->Handler->pluginByName("TextLike"), text.data());
  EXPECT_EQ(this->Handler->pluginByName("Other"), nullptr);

  // Cleanup deletes the registered plug-ins; a new handler starts empty.
  qVireonSubjectHierarchyPluginHandler::cleanup();
  EXPECT_TRUE(text.isNull());
  this->Handler = qVireonSubjectHierarchyPluginHandler::instance();
  EXPECT_TRUE(this->Handler->allPlugins().isEmpty());
  EXPECT_EQ(this->Handler->subjectHierarchyNode(), nullptr);
}

TEST_F(PluginHandlerTest, OwnerIsThePluginWithTheHighestConfidence)
{
  auto* weak = new TestPlugin("Weak", "vtkKOVANode", 0.3);
  auto* text = new TestPlugin("Text", "vtkKOVATextNode", 0.5);
  auto* tie = new TestPlugin("Tie", "vtkKOVATextNode", 0.5);
  auto* none = new TestPlugin("None", "vtkKOVAViewNode", 1.0);
  for (TestPlugin* plugin : { weak, text, tie, none })
  {
    ASSERT_TRUE(this->Handler->registerPlugin(plugin));
  }
  double confidence = -1.0;
  EXPECT_EQ(
    this->Handler->findOwnerPluginForSubjectHierarchyItem(item(this->Text), &confidence), text);
  EXPECT_DOUBLE_EQ(confidence, 0.5);
  EXPECT_EQ(this->Handler->findOwnerPluginForSubjectHierarchyItem(item(this->Model)), weak);
  EXPECT_EQ(
    this->Handler->findOwnerPluginForSubjectHierarchyItem(this->SH->GetSceneItemID(), &confidence),
    nullptr);
  EXPECT_DOUBLE_EQ(confidence, 0.0);
  EXPECT_EQ(this->Handler->findPluginForAddingNode(this->Text), text);
  EXPECT_EQ(this->Handler->findPluginForAddingNode(nullptr), nullptr);
}

TEST_F(PluginHandlerTest, MenusHideEveryActionThenAskEachPlugin)
{
  auto* text = new TestPlugin("Text", "vtkKOVATextNode", 0.5);
  auto* model = new TestPlugin("Model", "vtkKOVAModelNode", 0.5);
  ASSERT_TRUE(this->Handler->registerPlugin(text));
  ASSERT_TRUE(this->Handler->registerPlugin(model));
  qVireonSubjectHierarchyAbstractPlugin::setActionPosition(text->VisibilityAction, 1, 5);
  qVireonSubjectHierarchyAbstractPlugin::setActionPosition(model->VisibilityAction, 0, 10, 0.5);

  QList<QAction*> actions = this->Handler->itemContextMenuActionsForItem(item(this->Text));
  EXPECT_EQ(actions, QList<QAction*>{ text->ItemAction });
  EXPECT_EQ(this->Handler->currentItem(), item(this->Text));
  EXPECT_EQ(text->ShownFor, item(this->Text));
  EXPECT_FALSE(model->ItemAction->isVisible());

  // The text action shown for the last menu is hidden again before the plug-ins are asked.
  actions = this->Handler->itemContextMenuActionsForItem(item(this->Model));
  EXPECT_EQ(actions, QList<QAction*>{ model->ItemAction });
  EXPECT_TRUE(text->HiddenWhenAsked);
  EXPECT_TRUE(model->HiddenWhenAsked);
  EXPECT_FALSE(text->ItemAction->isVisible());

  // Visible actions come in menu order: section, then weight.
  actions = this->Handler->visibilityContextMenuActionsForItem(item(this->Text));
  EXPECT_EQ(actions, (QList<QAction*>{ model->VisibilityAction, text->VisibilityAction }));
  EXPECT_EQ(model->VisibilityAction->property("section").toInt(), 0);
  EXPECT_EQ(model->VisibilityAction->property("weight").toInt(), 10);
  EXPECT_DOUBLE_EQ(model->VisibilityAction->property("weightAdjustment").toDouble(), 0.5);
  EXPECT_TRUE(this->Handler->transformContextMenuActionsForItem(item(this->Text)).isEmpty());
}

TEST_F(PluginHandlerTest, BasePluginDefaults)
{
  qVireonSubjectHierarchyAbstractPlugin base;
  qVireonTestMessageCapture messages;
  EXPECT_DOUBLE_EQ(base.canOwnSubjectHierarchyItem(item(this->Text)), 0.0);
  EXPECT_DOUBLE_EQ(base.canAddNodeToSubjectHierarchy(this->Text), 0.0);
  EXPECT_EQ(base.roleForPlugin(), "Unknown");
  EXPECT_TRUE(base.icon(item(this->Text)).isNull());
  EXPECT_EQ(base.tooltip(item(this->Text)), "Notes (vtkKOVATextNode)");
  const vtkIdType folder = this->SH->CreateFolderItem(this->SH->GetSceneItemID(), "Study");
  EXPECT_EQ(base.tooltip(folder), "Study");
  EXPECT_EQ(base.displayedItemName(item(this->Model)), "Bone");
  EXPECT_TRUE(base.itemContextMenuActions().isEmpty());
  EXPECT_TRUE(base.visibilityContextMenuActions().isEmpty());
  EXPECT_FALSE(base.showItemInView(item(this->Model), nullptr, nullptr));
  base.setName("Renamed");
  EXPECT_EQ(base.name(), "Renamed");
  EXPECT_EQ(base.property("name").toString(), "Renamed");
  EXPECT_TRUE(messages.criticals().isEmpty());

  // Display visibility and colour go to the display node of a displayable node.
  vtkNew<vtkKOVATestDisplayNode> display;
  this->Scene->AddNode(display);
  auto* model = vtkKOVAModelNode::SafeDownCast(this->Model);
  EXPECT_EQ(base.getDisplayVisibility(item(model)), 0);
  model->SetAndObserveDisplayNodeID(display->GetID());
  EXPECT_EQ(base.getDisplayVisibility(item(model)), 1);
  base.setDisplayVisibility(item(model), 0);
  EXPECT_FALSE(display->GetVisibility());
  EXPECT_EQ(base.getDisplayVisibility(item(this->Text)), -1);
  base.setDisplayColor(item(model), QColor(255, 0, 0));
  EXPECT_EQ(base.getDisplayColor(item(model)), QColor(255, 0, 0));
  EXPECT_FALSE(base.getDisplayColor(item(this->Text)).isValid());

  // Adding and reparenting go through the hierarchy node.
  vtkNew<vtkKOVATextNode> outside;
  EXPECT_TRUE(base.addNodeToSubjectHierarchy(outside, folder));
  EXPECT_EQ(this->SH->GetItemParent(item(outside)), folder);
  EXPECT_TRUE(base.reparentItemInsideSubjectHierarchy(item(this->Text), folder));
  EXPECT_EQ(this->SH->GetItemParent(item(this->Text)), folder);

  EXPECT_TRUE(base.tooltip(vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID).isEmpty());
  ASSERT_EQ(messages.criticals().size(), 1);
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Invalid input item"));
  this->Handler->setKOVAScene(nullptr);
  EXPECT_TRUE(base.tooltip(item(this->Model)).isEmpty());
  ASSERT_EQ(messages.criticals().size(), 2);
  EXPECT_TRUE(messages.criticals()[1].contains("qVireonSubjectHierarchyAbstractPlugin::tooltip("));
  EXPECT_TRUE(messages.criticals()[1].endsWith(": Failed to access subject hierarchy node"));
}
