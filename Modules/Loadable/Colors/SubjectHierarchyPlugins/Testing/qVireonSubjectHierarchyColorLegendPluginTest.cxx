// The color legend plug-in registered with the plug-in handler, as the colours module does, over
// a scene with models, a volume, a text node, colour tables and slice and 3D views.
#include <qVireonSubjectHierarchyColorLegendPlugin.h>
#include <qVireonSubjectHierarchyPluginHandler.h>
#include <qVireonTestMessageCapture.h>

#include <vtkKOVAColorLegendDisplayNode.h>
#include <vtkKOVAColorTableNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVATestDisplayNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVAViewNode.h>
#if __has_include(<vtkKOVAScalarVolumeNode.h>)
#include <vtkKOVAScalarVolumeNode.h>
#else
#include <vtkKOVAVolumeNode.h>
#endif
#include <vtkVireonColorLogic.h>

#include <vtkCommand.h>
#include <vtkNew.h>

#include <QAction>
#include <QVariant>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new qVireonTestApplicationEnvironment);

const vtkIdType Invalid = vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID;
const char* const Signature = "qVireonSubjectHierarchyColorLegendPlugin::";

/// Records the calls of the toggle slot (the action's toggled signal reaches it).
struct ToggleSpy
{
  explicit ToggleSpy(QAction* action)
  {
    QObject::connect(action, &QAction::toggled, [this](bool on) { this->Calls.push_back(on); });
  }
  std::vector<bool> Calls;
};

class ColorLegendPluginTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    this->Handler = qVireonSubjectHierarchyPluginHandler::instance();
    this->Handler->setKOVAScene(this->Scene);
    this->SH = this->Handler->subjectHierarchyNode();
    this->Plugin = new qVireonSubjectHierarchyColorLegendPlugin;
    ASSERT_TRUE(this->Handler->registerPlugin(this->Plugin));
    ASSERT_EQ(this->Plugin->visibilityContextMenuActions().size(), 1);
    this->Action = this->Plugin->visibilityContextMenuActions()[0];

    this->Colors = this->Scene->AddNewNodeByClass("vtkKOVAColorTableNode", "Rainbow");
    this->ColoredModel = this->addDisplayable("vtkKOVAModelNode", "Colored", true);
    this->PlainModel = this->addDisplayable("vtkKOVAModelNode", "Plain", false);
    this->Bare = this->Scene->AddNewNodeByClass("vtkKOVAModelNode", "Bare");
    this->Volume = this->addDisplayable("vtkKOVAScalarVolumeNode", "CT", true);
    this->BareVolume = this->Scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "Empty");
    this->Text = this->Scene->AddNewNodeByClass("vtkKOVATextNode", "Notes");
    this->ViewA = vtkKOVAViewNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVAViewNode"));
    this->ViewB = vtkKOVAViewNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVAViewNode"));
    this->ViewC = vtkKOVAViewNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVAViewNode"));
    this->Red = vtkKOVASliceNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVASliceNode"));
  }
  void TearDown() override { qVireonSubjectHierarchyPluginHandler::cleanup(); }

  vtkKOVADisplayableNode* addDisplayable(const char* className, const char* name, bool colorTable)
  {
    auto* node =
      vtkKOVADisplayableNode::SafeDownCast(this->Scene->AddNewNodeByClass(className, name));
    vtkNew<vtkKOVATestDisplayNode> display;
    this->Scene->AddNode(display);
    if (colorTable)
    {
      display->SetAndObserveColorNodeID(this->Colors->GetID());
    }
    node->SetAndObserveDisplayNodeID(display->GetID());
    return node;
  }
  vtkIdType item(vtkKOVANode* node) { return this->SH->GetItemByDataNode(node); }
  vtkKOVAColorLegendDisplayNode* legendOf(vtkKOVADisplayableNode* node)
  {
    return vtkVireonColorLogic::GetColorLegendDisplayNode(node);
  }
  int legends() { return this->Scene->GetNumberOfNodesByClass("vtkKOVAColorLegendDisplayNode"); }
  static std::vector<std::string> views(vtkKOVADisplayNode* node) { return node->GetViewNodeIDs(); }
  QList<QAction*> visibilityMenu(vtkKOVANode* node)
  {
    return this->Handler->visibilityContextMenuActionsForItem(item(node));
  }

  vtkNew<vtkKOVAScene> Scene;
  qVireonSubjectHierarchyPluginHandler* Handler = nullptr;
  vtkKOVASubjectHierarchyNode* SH = nullptr;
  qVireonSubjectHierarchyColorLegendPlugin* Plugin = nullptr;
  QAction* Action = nullptr;
  vtkKOVANode* Colors = nullptr;
  vtkKOVADisplayableNode* ColoredModel = nullptr;
  vtkKOVADisplayableNode* PlainModel = nullptr;
  vtkKOVANode* Bare = nullptr;
  vtkKOVADisplayableNode* Volume = nullptr;
  vtkKOVANode* BareVolume = nullptr;
  vtkKOVANode* Text = nullptr;
  vtkKOVAViewNode* ViewA = nullptr;
  vtkKOVAViewNode* ViewB = nullptr;
  vtkKOVAViewNode* ViewC = nullptr;
  vtkKOVASliceNode* Red = nullptr;
};
}

TEST_F(ColorLegendPluginTest, ActionAndWhatThePluginLeavesToTheBase)
{
  EXPECT_EQ(this->Plugin->name(), "ColorLegend");
  EXPECT_EQ(this->Action->text(), "Show color legend");
  EXPECT_EQ(this->Action->parent(), this->Plugin);
  EXPECT_TRUE(this->Action->isCheckable());
  EXPECT_FALSE(this->Action->isChecked());
  EXPECT_EQ(this->Action->property("section").toInt(), 0);
  EXPECT_EQ(this->Action->property("weight").toInt(), 10);
  EXPECT_DOUBLE_EQ(this->Action->property("weightAdjustment").toDouble(), 0.0);
  // It claims nothing.
  for (vtkKOVANode* node :
    std::vector<vtkKOVANode*>{ this->Volume, this->ColoredModel, this->Text })
  {
    EXPECT_DOUBLE_EQ(this->Plugin->canOwnSubjectHierarchyItem(item(node)), 0.0);
    EXPECT_DOUBLE_EQ(this->Plugin->canAddNodeToSubjectHierarchy(node, Invalid), 0.0);
  }
  EXPECT_EQ(this->Plugin->roleForPlugin(), "Unknown");
  EXPECT_TRUE(this->Plugin->itemContextMenuActions().isEmpty());
}

TEST_F(ColorLegendPluginTest, MenuEntryForDisplayNodesWithAColorTable)
{
  qVireonTestMessageCapture messages;
  ToggleSpy spy(this->Action);
  EXPECT_EQ(visibilityMenu(this->ColoredModel), QList<QAction*>{ this->Action });
  EXPECT_FALSE(this->Action->isChecked());
  EXPECT_EQ(legends(), 0);

  // A hidden legend leaves the entry unchecked.
  vtkKOVAColorLegendDisplayNode* legend =
    vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(this->ColoredModel);
  legend->VisibilityOff();
  EXPECT_EQ(visibilityMenu(this->ColoredModel).size(), 1);
  EXPECT_FALSE(this->Action->isChecked());

  // No entry without display node, without colour table, for other node types and folders.
  for (vtkKOVANode* node : std::vector<vtkKOVANode*>{ this->PlainModel, this->Bare, this->Text })
  {
    SCOPED_TRACE(node->GetName());
    EXPECT_TRUE(visibilityMenu(node).isEmpty());
  }
  EXPECT_TRUE(
    this->Handler->visibilityContextMenuActionsForItem(this->SH->CreateFolderItem(Invalid, "Study"))
      .isEmpty());
  EXPECT_TRUE(this->Handler->visibilityContextMenuActionsForItem(0).isEmpty());
  EXPECT_TRUE(spy.Calls.empty());
  EXPECT_TRUE(messages.criticals().isEmpty());

  this->Handler->setKOVAScene(nullptr);
  this->Plugin->showVisibilityContextMenuActionsForItem(item(this->ColoredModel));
  EXPECT_FALSE(this->Action->isVisible());
  ASSERT_EQ(messages.criticals().size(), 1);
  EXPECT_TRUE(messages.criticals()[0].contains(
    QString(Signature) + "showVisibilityContextMenuActionsForItem("));
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Failed to access subject hierarchy node"));
}

TEST_F(ColorLegendPluginTest, RefreshingTheMenuDoesNotToggle)
{
  vtkKOVAColorLegendDisplayNode* legend =
    vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(this->ColoredModel);
  ASSERT_TRUE(legend->GetVisibility());
  // Would be cleared if the refresh ran the toggle slot.
  legend->HiddenByUserOn();
  ToggleSpy spy(this->Action);
  this->Action->blockSignals(true);
  visibilityMenu(this->ColoredModel);
  EXPECT_TRUE(this->Action->signalsBlocked()) << "the previous blocking is restored";
  this->Action->blockSignals(false);
  EXPECT_TRUE(this->Action->isChecked());

  {
    const QSignalBlocker blocker(this->Action);
    this->Action->setChecked(false);
  }
  visibilityMenu(this->ColoredModel);
  EXPECT_TRUE(this->Action->isChecked());
  EXPECT_FALSE(this->Action->signalsBlocked());
  EXPECT_TRUE(spy.Calls.empty());
  EXPECT_TRUE(legend->GetHiddenByUser());
  EXPECT_TRUE(legend->GetVisibility());
}

TEST_F(ColorLegendPluginTest, CheckingShowsAndUncheckingHides)
{
  qVireonTestMessageCapture messages;
  visibilityMenu(this->ColoredModel);
  this->Action->trigger();
  vtkKOVAColorLegendDisplayNode* legend = legendOf(this->ColoredModel);
  ASSERT_NE(legend, nullptr);
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_FALSE(legend->GetHiddenByUser());
  legend->AddViewNodeID(this->ViewC->GetID());

  visibilityMenu(this->ColoredModel);
  EXPECT_TRUE(this->Action->isChecked());
  this->Action->trigger();
  EXPECT_FALSE(legend->GetVisibility());
  EXPECT_TRUE(legend->GetHiddenByUser());
  EXPECT_EQ(views(legend), std::vector<std::string>{ this->ViewC->GetID() });

  // Checking again reuses the legend.
  visibilityMenu(this->ColoredModel);
  this->Action->trigger();
  EXPECT_EQ(legendOf(this->ColoredModel), legend);
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_EQ(legends(), 1);

  // Unchecking for a node without legend creates none.
  visibilityMenu(this->Volume);
  {
    const QSignalBlocker blocker(this->Action);
    this->Action->setChecked(true);
  }
  this->Action->trigger();
  EXPECT_FALSE(this->Action->isChecked());
  EXPECT_EQ(legendOf(this->Volume), nullptr);
  EXPECT_EQ(legends(), 1);

  // Items the entry does not apply to, or none, are left alone.
  for (vtkIdType itemID : { item(this->PlainModel), item(this->Text), Invalid })
  {
    this->Handler->setCurrentItem(itemID);
    this->Action->setChecked(true);
    this->Action->setChecked(false);
  }
  EXPECT_EQ(legends(), 1);
  EXPECT_TRUE(messages.criticals().isEmpty());

  this->Handler->setCurrentItem(item(this->Volume));
  this->Handler->setSubjectHierarchyNode(nullptr);
  this->Action->setChecked(true);
  EXPECT_EQ(legends(), 1);
  ASSERT_EQ(messages.criticals().size(), 1);
  EXPECT_TRUE(
    messages.criticals()[0].contains(QString(Signature) + "toggleVisibilityForCurrentItem(bool)"));
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Failed to access subject hierarchy node"));
}

TEST_F(ColorLegendPluginTest, ShowingInSingleViews)
{
  qVireonTestMessageCapture messages;
  const vtkIdType volume = item(this->Volume);
  // Nothing to hide: no legend is made.
  EXPECT_TRUE(this->Plugin->showColorLegendInSlice(false, volume, nullptr));
  EXPECT_TRUE(this->Plugin->showColorLegendInView(false, volume, this->ViewA));
  EXPECT_EQ(legends(), 0);

  // A new legend counts as hidden: shown only in the views added.
  EXPECT_TRUE(this->Plugin->showColorLegendInView(true, volume, this->ViewA));
  vtkKOVAColorLegendDisplayNode* legend = legendOf(this->Volume);
  ASSERT_NE(legend, nullptr);
  EXPECT_TRUE(this->Plugin->showColorLegendInView(true, volume, this->ViewB));
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_EQ(
    views(legend), (std::vector<std::string>{ this->ViewA->GetID(), this->ViewB->GetID() }));
  EXPECT_TRUE(this->Plugin->showColorLegendInSlice(true, volume, this->Red));
  EXPECT_EQ(views(legend).back(), this->Red->GetID());

  // Hiding in one view hides everywhere and keeps the list.
  vtkKOVATestEventRecorder modified(legend, vtkCommand::ModifiedEvent);
  EXPECT_TRUE(this->Plugin->showColorLegendInView(false, volume, this->ViewA));
  EXPECT_FALSE(legend->GetVisibility());
  EXPECT_EQ(views(legend).size(), 3u);
  EXPECT_EQ(modified.Count(), 1);

  // Showing a hidden legend starts a fresh list, in one modification.
  legend->RemoveAllViewNodeIDs();
  legend->AddViewNodeID(this->ViewC->GetID());
  modified.Clear();
  EXPECT_TRUE(this->Plugin->showColorLegendInView(true, volume, this->ViewA));
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_EQ(views(legend), std::vector<std::string>{ this->ViewA->GetID() });
  EXPECT_EQ(modified.Count(), 1);

  // Without a view: all views, shown or hidden.
  EXPECT_TRUE(this->Plugin->showColorLegendInSlice(false, volume, nullptr));
  EXPECT_FALSE(legend->GetVisibility());
  EXPECT_TRUE(views(legend).empty());
  EXPECT_TRUE(this->Plugin->showColorLegendInView(true, volume, nullptr));
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_TRUE(views(legend).empty());
  EXPECT_EQ(legends(), 1);
  EXPECT_TRUE(messages.criticals().isEmpty());
}

TEST_F(ColorLegendPluginTest, ShowItemInViewAddsToTheList)
{
  const vtkIdType volume = item(this->Volume);
  vtkKOVAColorLegendDisplayNode* legend =
    vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(this->Volume);
  legend->VisibilityOff();
  legend->AddViewNodeID(this->ViewC->GetID());
  vtkKOVATestEventRecorder modified(legend, vtkCommand::ModifiedEvent);

  // As the volumes plug-in of the host calls it when it shows a volume in a view.
  qVireonSubjectHierarchyAbstractPlugin* plugin = this->Handler->pluginByName("ColorLegend");
  ASSERT_EQ(plugin, this->Plugin);
  EXPECT_TRUE(plugin->showItemInView(volume, this->ViewA, nullptr));
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_EQ(
    views(legend), (std::vector<std::string>{ this->ViewC->GetID(), this->ViewA->GetID() }));
  EXPECT_EQ(modified.Count(), 1);
  EXPECT_TRUE(this->Plugin->showItemInView(volume, this->Red, nullptr));
  EXPECT_EQ(views(legend).size(), 3u);

  EXPECT_TRUE(this->Plugin->showItemInView(volume, nullptr, nullptr));
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_TRUE(views(legend).empty());

  // Without a legend one is always made.
  auto* other = vtkKOVAScalarVolumeNode::SafeDownCast(
    this->addDisplayable("vtkKOVAScalarVolumeNode", "MR", false));
  EXPECT_TRUE(this->Plugin->showItemInView(item(other), this->ViewB, nullptr));
  ASSERT_NE(legendOf(other), nullptr);
  EXPECT_TRUE(legendOf(other)->GetVisibility());
  EXPECT_EQ(views(legendOf(other)), std::vector<std::string>{ this->ViewB->GetID() });
}

TEST_F(ColorLegendPluginTest, ShowOperationsRefuseWhatIsNotAScalarVolume)
{
  qVireonTestMessageCapture messages;
  vtkKOVATestErrorCapture errors;
  const vtkIdType model = item(this->ColoredModel);
  const vtkIdType bareVolume = item(this->BareVolume);
  EXPECT_FALSE(this->Plugin->showColorLegendInView(true, model, this->ViewA));
  EXPECT_FALSE(this->Plugin->showColorLegendInSlice(true, model, this->Red));
  EXPECT_FALSE(this->Plugin->showItemInView(model, this->ViewA, nullptr));
  // A volume without display node cannot get a legend.
  EXPECT_FALSE(this->Plugin->showColorLegendInSlice(true, bareVolume, nullptr));
  EXPECT_FALSE(this->Plugin->showItemInView(bareVolume, nullptr, nullptr));
  EXPECT_EQ(legends(), 0);
  EXPECT_EQ(errors.GetNumberOfErrors(), 2); // the colours logic's own reports

  const QString notVolume =
    ": Failed to find scalar volume node associated to subject hierarchy item " +
    QString::number(model);
  const QString noLegend = ": Failed to create color display node for scalar volume node Empty";
  const QStringList expected = { "showColorLegendInView(",
    notVolume,
    "showColorLegendInSlice(",
    notVolume,
    "showItemInView(",
    notVolume,
    "showColorLegendInSlice(",
    noLegend,
    "showItemInView(",
    noLegend };
  ASSERT_EQ(messages.criticals().size(), expected.size() / 2);
  for (int i = 0; i < messages.criticals().size(); ++i)
  {
    const QString& message = messages.criticals()[i];
    EXPECT_TRUE(message.contains(QString(Signature) + expected[2 * i])) << message.toStdString();
    EXPECT_TRUE(message.endsWith(expected[2 * i + 1])) << message.toStdString();
  }

  messages.clear();
  this->Handler->setKOVAScene(nullptr);
  EXPECT_FALSE(this->Plugin->showColorLegendInView(true, model, this->ViewA));
  EXPECT_FALSE(this->Plugin->showColorLegendInSlice(false, model, nullptr));
  EXPECT_FALSE(this->Plugin->showItemInView(model, nullptr, nullptr));
  ASSERT_EQ(messages.criticals().size(), 3);
  for (const QString& message : messages.criticals())
  {
    EXPECT_TRUE(message.endsWith(": Failed to access subject hierarchy node"));
  }
}
