// The texts, dynamic modeler and color legend plug-ins registered with one handler over one scene:
// each item goes to its plug-in, each menu shows only the actions that apply, and the libraries'
// compiled-in icons do not shadow each other.
#include <qVireonSubjectHierarchyColorLegendPlugin.h>
#include <qVireonSubjectHierarchyDynamicModelerPlugin.h>
#include <qVireonSubjectHierarchyPluginHandler.h>
#include <qVireonSubjectHierarchyTextsPlugin.h>
#include <qVireonTestMessageCapture.h>

#include <vtkKOVAColorLegendDisplayNode.h>
#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVATestDisplayNode.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkVireonColorLogic.h>
#include <vtkVireonDynamicModelerLogic.h>

#include <vtkNew.h>

#include <QAction>
#include <QFile>
#include <QIcon>

#include <gtest/gtest.h>

namespace
{
::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new qVireonTestApplicationEnvironment);
}

TEST(qVireonSubjectHierarchyPlugins, WorkTogetherThroughOneHandler)
{
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkVireonDynamicModelerLogic> logic;
  logic->SetKOVAScene(scene);
  qVireonSubjectHierarchyPluginHandler* handler = qVireonSubjectHierarchyPluginHandler::instance();
  handler->setKOVAScene(scene);

  auto* texts = new qVireonSubjectHierarchyTextsPlugin;
  auto* modeler = new qVireonSubjectHierarchyDynamicModelerPlugin;
  modeler->setDynamicModelerLogic(logic);
  auto* legend = new qVireonSubjectHierarchyColorLegendPlugin;
  ASSERT_TRUE(handler->registerPlugin(legend));
  ASSERT_TRUE(handler->registerPlugin(texts));
  ASSERT_TRUE(handler->registerPlugin(modeler));

  vtkKOVANode* text = scene->AddNewNodeByClass("vtkKOVATextNode", "Notes");
  auto* cut = vtkKOVADynamicModelerNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVADynamicModelerNode", "Cut"));
  cut->SetToolName("Plane cut");
  auto* model = vtkKOVAModelNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAModelNode"));
  vtkKOVANode* colors = scene->AddNewNodeByClass("vtkKOVAColorTableNode");
  vtkNew<vtkKOVATestDisplayNode> display;
  scene->AddNode(display);
  display->SetAndObserveColorNodeID(colors->GetID());
  model->SetAndObserveDisplayNodeID(display->GetID());
  vtkKOVANode* volume = scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode");

  vtkKOVASubjectHierarchyNode* shNode = handler->subjectHierarchyNode();
  auto item = [shNode](vtkKOVANode* node) { return shNode->GetItemByDataNode(node); };
  qVireonTestMessageCapture messages;

  EXPECT_EQ(handler->findOwnerPluginForSubjectHierarchyItem(item(text)), texts);
  EXPECT_EQ(handler->findOwnerPluginForSubjectHierarchyItem(item(cut)), modeler);
  EXPECT_EQ(handler->findOwnerPluginForSubjectHierarchyItem(item(model)), nullptr);
  EXPECT_EQ(handler->findOwnerPluginForSubjectHierarchyItem(item(volume)), nullptr);
  EXPECT_EQ(handler->findPluginForAddingNode(cut), modeler);
  EXPECT_EQ(handler->findPluginForAddingNode(text), texts);

  // Each library carries its own pictures.
  EXPECT_TRUE(QFile::exists(":Icons/Text.png"));
  EXPECT_TRUE(QFile::exists(":Icons/PlaneCut.png"));
  EXPECT_FALSE(texts->icon(item(text)).isNull());
  EXPECT_FALSE(modeler->icon(item(cut)).isNull());
  EXPECT_TRUE(texts->icon(item(cut)).isNull());
  EXPECT_TRUE(modeler->icon(item(text)).isNull());

  // Item menus: the modeler's two actions for its item, nothing for the others.
  const QList<QAction*> modelerActions = modeler->itemContextMenuActions();
  EXPECT_EQ(handler->itemContextMenuActionsForItem(item(cut)), modelerActions);
  EXPECT_TRUE(handler->itemContextMenuActionsForItem(item(text)).isEmpty());
  EXPECT_TRUE(handler->itemContextMenuActionsForItem(item(model)).isEmpty());

  // Visibility menu: the legend entry for the model with a colour table only.
  QAction* showLegend = legend->visibilityContextMenuActions().at(0);
  EXPECT_TRUE(handler->visibilityContextMenuActionsForItem(item(cut)).isEmpty());
  EXPECT_EQ(
    handler->visibilityContextMenuActionsForItem(item(model)), QList<QAction*>{ showLegend });
  showLegend->trigger();
  ASSERT_NE(vtkVireonColorLogic::GetColorLegendDisplayNode(model), nullptr);
  EXPECT_TRUE(vtkVireonColorLogic::GetColorLegendDisplayNode(model)->GetVisibility());
  // The legend is a hidden display node: it gets no item of its own.
  EXPECT_EQ(item(vtkVireonColorLogic::GetColorLegendDisplayNode(model)),
    vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID);

  // "Update" on the modeler item runs its tool through the logic.
  vtkKOVATestEventRecorder runs(logic, vtkVireonDynamicModelerLogic::ToolRunEvent);
  handler->itemContextMenuActionsForItem(item(cut));
  modelerActions.at(1)->trigger();
  EXPECT_EQ(runs.Count(), 1);
  EXPECT_TRUE(messages.criticals().isEmpty()) << messages.criticals().join('\n').toStdString();

  qVireonSubjectHierarchyPluginHandler::cleanup();
}
