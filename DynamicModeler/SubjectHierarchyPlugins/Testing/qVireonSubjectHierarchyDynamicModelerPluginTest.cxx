// The dynamic modeler plug-in registered with the plug-in handler and given the dynamic modeler
// logic, as the dynamic modeler module does, over a scene with text, model, volume and dynamic
// modeler nodes.
#include <qVireonSubjectHierarchyDynamicModelerPlugin.h>
#include <qVireonSubjectHierarchyPluginHandler.h>
#include <qVireonTestMessageCapture.h>

#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkVireonDynamicModelerLogic.h>
#include <vtkVireonDynamicModelerTool.h>

#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace
{
::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new qVireonTestApplicationEnvironment);

const vtkIdType Invalid = vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID;
const char* const Signature = "qVireonSubjectHierarchyDynamicModelerPlugin::";

/// A node class derived from the dynamic modeler node.
class vtkTestModelerNode : public vtkKOVADynamicModelerNode
{
public:
  static vtkTestModelerNode* New() { VTK_STANDARD_NEW_BODY(vtkTestModelerNode); }
  vtkTypeMacro(vtkTestModelerNode, vtkKOVADynamicModelerNode);
  vtkKOVANode* CreateNodeInstance() override { return vtkTestModelerNode::New(); }
};

class DynamicModelerPluginTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    this->Logic->SetKOVAScene(this->Scene);
    this->Handler = qVireonSubjectHierarchyPluginHandler::instance();
    this->Handler->setKOVAScene(this->Scene);
    this->SH = this->Handler->subjectHierarchyNode();
    this->Plugin = new qVireonSubjectHierarchyDynamicModelerPlugin;
    ASSERT_TRUE(this->Handler->registerPlugin(this->Plugin));

    this->Text = this->Scene->AddNewNodeByClass("vtkKOVATextNode", "Notes");
    this->Model = this->Scene->AddNewNodeByClass("vtkKOVAModelNode", "Bone");
    this->Volume = this->Scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "CT");
    this->Modeler = vtkKOVADynamicModelerNode::SafeDownCast(
      this->Scene->AddNewNodeByClass("vtkKOVADynamicModelerNode", "Cut"));
    this->Scene->AddNode(this->Derived);

    const QList<QAction*> actions = this->Plugin->itemContextMenuActions();
    ASSERT_EQ(actions.size(), 2);
    this->ContinuousUpdate = actions[0];
    this->Update = actions[1];
  }
  void TearDown() override { qVireonSubjectHierarchyPluginHandler::cleanup(); }
  vtkIdType item(vtkKOVANode* node) { return this->SH->GetItemByDataNode(node); }

  vtkNew<vtkKOVAScene> Scene;
  vtkNew<vtkVireonDynamicModelerLogic> Logic;
  qVireonSubjectHierarchyPluginHandler* Handler = nullptr;
  vtkKOVASubjectHierarchyNode* SH = nullptr;
  qVireonSubjectHierarchyDynamicModelerPlugin* Plugin = nullptr;
  vtkKOVANode* Text = nullptr;
  vtkKOVANode* Model = nullptr;
  vtkKOVANode* Volume = nullptr;
  vtkKOVADynamicModelerNode* Modeler = nullptr;
  vtkNew<vtkTestModelerNode> Derived;
  QAction* ContinuousUpdate = nullptr;
  QAction* Update = nullptr;
};

QImage imageOf(const QIcon& icon, const QSize& size)
{
  return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
}

TEST_F(DynamicModelerPluginTest, NameRoleActionsAndOwnership)
{
  EXPECT_EQ(this->Plugin->name(), "DynamicModeler");
  EXPECT_EQ(this->Plugin->roleForPlugin(), "DynamicModeler");
  EXPECT_EQ(this->ContinuousUpdate->text(), "Continuous update");
  EXPECT_TRUE(this->ContinuousUpdate->isCheckable());
  EXPECT_EQ(this->Update->text(), "Update");
  EXPECT_FALSE(this->Update->isCheckable());
  EXPECT_EQ(this->ContinuousUpdate->parent(), this->Plugin);
  EXPECT_EQ(this->Update->parent(), this->Plugin);

  qVireonTestMessageCapture messages;
  struct Row
  {
    vtkKOVANode* Node;
    double Confidence;
  };
  const Row rows[] = {
    { this->Modeler, 0.5 },
    { this->Derived, 0.5 },
    { this->Text, 0.0 },
    { this->Model, 0.0 },
    { this->Volume, 0.0 },
  };
  for (const Row& row : rows)
  {
    SCOPED_TRACE(row.Node->GetClassName());
    EXPECT_DOUBLE_EQ(this->Plugin->canAddNodeToSubjectHierarchy(row.Node, Invalid), row.Confidence);
    EXPECT_DOUBLE_EQ(this->Plugin->canOwnSubjectHierarchyItem(item(row.Node)), row.Confidence);
    EXPECT_EQ(this->Handler->findOwnerPluginForSubjectHierarchyItem(item(row.Node)),
      row.Confidence > 0.0 ? this->Plugin : nullptr);
  }
  EXPECT_TRUE(messages.criticals().isEmpty());

  EXPECT_DOUBLE_EQ(this->Plugin->canAddNodeToSubjectHierarchy(nullptr, Invalid), 0.0);
  EXPECT_DOUBLE_EQ(this->Plugin->canOwnSubjectHierarchyItem(Invalid), 0.0);
  this->Handler->setKOVAScene(nullptr);
  EXPECT_DOUBLE_EQ(this->Plugin->canOwnSubjectHierarchyItem(item(this->Modeler)), 0.0);
  ASSERT_EQ(messages.criticals().size(), 3);
  EXPECT_TRUE(
    messages.criticals()[0].contains(QString(Signature) + "canAddNodeToSubjectHierarchy("));
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Input node is NULL"));
  EXPECT_TRUE(messages.criticals()[1].endsWith(": Invalid input item"));
  EXPECT_TRUE(messages.criticals()[2].endsWith(": Failed to access subject hierarchy node"));
}

TEST_F(DynamicModelerPluginTest, IconFollowsTheToolName)
{
  // Every tool of the logic has the picture named after its class (vtkVireonDynamicModeler<X>Tool
  // shows ":Icons/<X>.png").
  ASSERT_EQ(this->Logic->GetNumberOfDynamicModelerTools(), 12);
  qVireonTestMessageCapture messages;
  std::set<QByteArray> pictures;
  for (int i = 0; i < 12; ++i)
  {
    vtkVireonDynamicModelerTool* tool = this->Logic->GetNthDynamicModelerTool(i);
    SCOPED_TRACE(tool->GetClassName());
    QString path = QString::fromLatin1(tool->GetClassName());
    path.remove(0, int(strlen("vtkVireonDynamicModeler"))).chop(int(strlen("Tool")));
    path = ":Icons/" + path + ".png";
    const QImage expected(path);
    ASSERT_FALSE(expected.isNull());
    this->Modeler->SetToolName(tool->GetName());
    const QIcon icon = this->Plugin->icon(item(this->Modeler));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(imageOf(icon, expected.size()),
      expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    pictures.insert(QByteArray(reinterpret_cast<const char*>(expected.constBits()),
      static_cast<int>(expected.sizeInBytes())));
  }
  EXPECT_EQ(pictures.size(), 12u);

  // No tool name, a name no tool reports (the comparison is case-sensitive), a node not owned.
  this->Modeler->SetToolName(nullptr);
  EXPECT_TRUE(this->Plugin->icon(item(this->Modeler)).isNull());
  this->Modeler->SetToolName("plane cut");
  EXPECT_TRUE(this->Plugin->icon(item(this->Modeler)).isNull());
  this->Modeler->SetToolName("Melt");
  EXPECT_TRUE(this->Plugin->icon(item(this->Modeler)).isNull());
  EXPECT_TRUE(this->Plugin->icon(item(this->Model)).isNull());
  this->Derived->SetToolName("Hollow");
  EXPECT_FALSE(this->Plugin->icon(item(this->Derived)).isNull());
  EXPECT_TRUE(messages.criticals().isEmpty());

  EXPECT_TRUE(this->Plugin->icon(Invalid).isNull());
  ASSERT_EQ(messages.criticals().size(), 1);
  EXPECT_TRUE(messages.criticals()[0].contains(QString(Signature) + "icon("));
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Invalid input item"));
}

TEST_F(DynamicModelerPluginTest, MenuShowsBothActionsForModelerItemsOnly)
{
  qVireonTestMessageCapture messages;
  this->Modeler->ContinuousUpdateOn();
  QList<QAction*> shown = this->Handler->itemContextMenuActionsForItem(item(this->Modeler));
  EXPECT_EQ(shown, (QList<QAction*>{ this->ContinuousUpdate, this->Update }));
  EXPECT_TRUE(this->ContinuousUpdate->isChecked());

  this->Modeler->ContinuousUpdateOff();
  shown = this->Handler->itemContextMenuActionsForItem(item(this->Modeler));
  EXPECT_EQ(shown.size(), 2);
  EXPECT_FALSE(this->ContinuousUpdate->isChecked());

  for (vtkKOVANode* other : { this->Text, this->Model, this->Volume })
  {
    EXPECT_TRUE(this->Handler->itemContextMenuActionsForItem(item(other)).isEmpty());
    EXPECT_FALSE(this->ContinuousUpdate->isVisible());
    EXPECT_FALSE(this->Update->isVisible());
  }
  EXPECT_TRUE(messages.criticals().isEmpty());

  this->Plugin->showContextMenuActionsForItem(Invalid);
  this->Handler->setKOVAScene(nullptr);
  this->Plugin->showContextMenuActionsForItem(item(this->Modeler));
  ASSERT_EQ(messages.criticals().size(), 2);
  EXPECT_TRUE(
    messages.criticals()[0].contains(QString(Signature) + "showContextMenuActionsForItem("));
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Invalid input item"));
  EXPECT_TRUE(messages.criticals()[1].endsWith(": Failed to access subject hierarchy node"));
}

TEST_F(DynamicModelerPluginTest, ContinuousUpdateFlipsTheNodeWhateverTheActionSays)
{
  qVireonTestMessageCapture messages;
  this->Handler->itemContextMenuActionsForItem(item(this->Modeler));
  ASSERT_FALSE(this->Modeler->GetContinuousUpdate());

  this->ContinuousUpdate->trigger();
  EXPECT_TRUE(this->Modeler->GetContinuousUpdate());
  // The action is out of line with the node now; the node decides.
  this->ContinuousUpdate->setChecked(false);
  this->ContinuousUpdate->trigger();
  EXPECT_TRUE(this->ContinuousUpdate->isChecked());
  EXPECT_FALSE(this->Modeler->GetContinuousUpdate());
  EXPECT_TRUE(messages.criticals().isEmpty());

  // The current item is not a dynamic modeler item.
  this->Handler->itemContextMenuActionsForItem(item(this->Model));
  this->ContinuousUpdate->trigger();
  EXPECT_FALSE(this->Modeler->GetContinuousUpdate());
  ASSERT_EQ(messages.criticals().size(), 1);
  EXPECT_TRUE(messages.criticals()[0].contains(QString(Signature) + "continuousUpdateChanged()"));
  EXPECT_TRUE(messages.criticals()[0].endsWith(
    ": Failed to get DynamicModeler node by item ID " + QString::number(item(this->Model))));
}

TEST_F(DynamicModelerPluginTest, UpdateRunsTheToolOnceThroughTheLogic)
{
  vtkKOVATestEventRecorder runs(this->Logic, vtkVireonDynamicModelerLogic::ToolRunEvent);
  qVireonTestMessageCapture messages;
  this->Modeler->SetToolName("Mirror");
  this->Handler->itemContextMenuActionsForItem(item(this->Modeler));

  // Before the module has handed over its logic.
  this->Update->trigger();
  ASSERT_EQ(messages.criticals().size(), 1);
  EXPECT_TRUE(messages.criticals()[0].contains(QString(Signature) + "updateTriggered()"));
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Invalid dynamic modeler logic"));
  EXPECT_EQ(runs.Count(), 0);

  this->Plugin->setDynamicModelerLogic(this->Logic);
  this->Update->trigger();
  ASSERT_EQ(runs.Count(), 1);
  EXPECT_EQ(runs.Events[0].second, this->Modeler);
  EXPECT_EQ(messages.criticals().size(), 1);

  this->Handler->itemContextMenuActionsForItem(item(this->Text));
  this->Update->trigger();
  EXPECT_EQ(runs.Count(), 1);
  ASSERT_EQ(messages.criticals().size(), 2);
  EXPECT_TRUE(messages.criticals()[1].endsWith(": Invalid dynamic modeler node"));

  // A logic that is gone is no logic.
  vtkVireonDynamicModelerLogic* shortLived = vtkVireonDynamicModelerLogic::New();
  this->Plugin->setDynamicModelerLogic(shortLived);
  shortLived->Delete();
  this->Handler->itemContextMenuActionsForItem(item(this->Modeler));
  this->Update->trigger();
  ASSERT_EQ(messages.criticals().size(), 3);
  EXPECT_TRUE(messages.criticals()[2].endsWith(": Invalid dynamic modeler logic"));
}

TEST_F(DynamicModelerPluginTest, SlotsNeedTheHierarchyAndTheScene)
{
  this->Plugin->setDynamicModelerLogic(this->Logic);
  vtkKOVATestEventRecorder runs(this->Logic, vtkVireonDynamicModelerLogic::ToolRunEvent);
  this->Modeler->SetToolName("Mirror");
  this->Handler->itemContextMenuActionsForItem(item(this->Modeler));
  qVireonTestMessageCapture messages;

  // A hierarchy node but no scene.
  vtkKOVASubjectHierarchyNode* shNode = this->SH;
  this->Handler->setKOVAScene(nullptr);
  this->Handler->setSubjectHierarchyNode(shNode);
  this->Handler->setCurrentItem(item(this->Modeler));
  this->ContinuousUpdate->trigger();
  this->Update->trigger();
  // Neither.
  this->Handler->setSubjectHierarchyNode(nullptr);
  this->ContinuousUpdate->trigger();
  this->Update->trigger();

  const QStringList expected = { ": Invalid KOVA scene",
    ": Invalid KOVA scene",
    ": Failed to access subject hierarchy node",
    ": Failed to access subject hierarchy node" };
  ASSERT_EQ(messages.criticals().size(), expected.size());
  for (int i = 0; i < expected.size(); ++i)
  {
    EXPECT_TRUE(messages.criticals()[i].endsWith(expected[i]))
      << messages.criticals()[i].toStdString();
  }
  EXPECT_FALSE(this->Modeler->GetContinuousUpdate());
  EXPECT_EQ(runs.Count(), 0);
}
