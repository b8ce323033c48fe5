#include <vtkVireonTemplateKeyLogic.h>

#include <vtkKOVAMarkupsTestLineNode.h>
#include <vtkVireonTestLineRepresentation2D.h>
#include <vtkVireonTestLineRepresentation3D.h>
#include <vtkVireonTestLineWidget.h>

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsDisplayableManager.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVAViewNode.h>
#include <vtkVireonMarkupsLogic.h>
#include <vtkVireonModuleLogic.h>

#include <vtkNew.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace
{
/// Calls the protected RegisterNodes directly.
class TemplateKeyLogic : public vtkVireonTemplateKeyLogic
{
public:
  static TemplateKeyLogic* New() { VTK_STANDARD_NEW_BODY(TemplateKeyLogic); }
  vtkTypeMacro(TemplateKeyLogic, vtkVireonTemplateKeyLogic);
  using vtkVireonTemplateKeyLogic::RegisterNodes;
};

bool HasType(vtkVireonMarkupsLogic* logic, const std::string& type)
{
  const std::vector<std::string> types = logic->GetRegisteredMarkupsTypes();
  return std::find(types.begin(), types.end(), type) != types.end();
}

/// The host side: an application logic with the Markups module's logic, both given the scene.
struct Host
{
  Host()
  {
    this->MarkupsLogic->SetKOVAApplicationLogic(this->ApplicationLogic);
    this->MarkupsLogic->SetKOVAScene(this->Scene);
    this->ApplicationLogic->SetModuleLogic("Markups", this->MarkupsLogic);
    this->ApplicationLogic->SetKOVAScene(this->Scene);
  }
  vtkNew<vtkKOVAScene> Scene;
  vtkNew<vtkKOVAApplicationLogic> ApplicationLogic;
  vtkNew<vtkVireonMarkupsLogic> MarkupsLogic;
};
}

TEST(vtkVireonTemplateKeyLogic, TypeOperations)
{
  vtkNew<vtkVireonTemplateKeyLogic> logic;
  EXPECT_STREQ(logic->GetClassName(), "vtkVireonTemplateKeyLogic");
  EXPECT_TRUE(logic->IsA("vtkVireonMarkupsLogic"));
  EXPECT_TRUE(logic->IsA("vtkVireonModuleLogic"));
  EXPECT_TRUE(logic->IsA("vtkKOVAAbstractLogic"));
  EXPECT_EQ(logic->GetNumberOfGenerationsFromBase("vtkVireonMarkupsLogic"), 1);
  EXPECT_EQ(vtkVireonTemplateKeyLogic::SafeDownCast(vtkNew<vtkVireonMarkupsLogic>()), nullptr);
  vtkSmartPointer<vtkVireonTemplateKeyLogic> instance =
    vtkSmartPointer<vtkVireonTemplateKeyLogic>::Take(logic->NewInstance());
  EXPECT_STREQ(instance->GetClassName(), "vtkVireonTemplateKeyLogic");
}

TEST(vtkVireonTemplateKeyLogic, RegistersTheTestLineWithTheMarkupsLogic)
{
  Host host;
  vtkKOVATestErrorCapture errors;
  vtkNew<vtkVireonTemplateKeyLogic> logic;
  logic->SetKOVAApplicationLogic(host.ApplicationLogic);
  logic->SetKOVAScene(host.Scene);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0) << errors.GetErrors()[0];

  ASSERT_TRUE(HasType(host.MarkupsLogic, "TestLine"));
  EXPECT_TRUE(host.MarkupsLogic->GetCreateMarkupsPushButton("TestLine"));
  EXPECT_EQ(host.MarkupsLogic->GetInteractionWidgetByMarkupsType("TestLine"), nullptr);
  vtkKOVAMarkupsNode* prototype = host.MarkupsLogic->GetNodeByMarkupsType("TestLine");
  ASSERT_NE(prototype, nullptr);
  EXPECT_STREQ(prototype->GetClassName(), "vtkKOVAMarkupsTestLineNode");
  vtkVireonMarkupsWidget* widget = host.MarkupsLogic->GetWidgetByMarkupsType("TestLine");
  ASSERT_NE(widget, nullptr);
  EXPECT_STREQ(widget->GetClassName(), "vtkVireonTestLineWidget");
  // The logic's own registry stays empty: it registered with the Markups module's logic.
  EXPECT_TRUE(logic->GetRegisteredMarkupsTypes().empty());

  // Creating a markup of that type gives a test line; the scene reads test lines too.
  vtkKOVAMarkupsNode* node = host.MarkupsLogic->AddNewMarkupsNode(prototype->GetClassName());
  ASSERT_NE(node, nullptr);
  EXPECT_STREQ(node->GetClassName(), "vtkKOVAMarkupsTestLineNode");
  EXPECT_EQ(std::string(node->GetName()).rfind("TL", 0), 0u) << node->GetName();
  EXPECT_NE(vtkKOVAMarkupsDisplayNode::SafeDownCast(node->GetDisplayNode()), nullptr);
  node->AddControlPoint(vtkVector3d(1.0, 2.0, 3.0));
  vtkNew<vtkKOVAScene> read;
  read->RegisterNodeClass(vtkNew<vtkKOVAMarkupsTestLineNode>());
  ASSERT_TRUE(read->ReadFromXMLString(host.Scene->WriteToXMLString()));
  EXPECT_NE(read->GetFirstNodeByClass("vtkKOVAMarkupsTestLineNode"), nullptr);
  EXPECT_STREQ(host.Scene->GetClassNameByTag("MarkupsTestLine"), "vtkKOVAMarkupsTestLineNode");
}

TEST(vtkVireonTemplateKeyLogic, ViewsGetTestLineWidgetsFromThePrototype)
{
  Host host;
  vtkNew<vtkVireonTemplateKeyLogic> logic;
  logic->SetKOVAApplicationLogic(host.ApplicationLogic);
  logic->SetKOVAScene(host.Scene);

  auto* view = vtkKOVAViewNode::SafeDownCast(host.Scene->AddNewNodeByClass("vtkKOVAViewNode"));
  auto* slice = vtkKOVASliceNode::SafeDownCast(host.Scene->AddNewNodeByClass("vtkKOVASliceNode"));
  vtkNew<vtkRenderer> renderer3D, renderer2D;
  vtkNew<vtkKOVAMarkupsDisplayableManager> manager3D, manager2D;
  manager3D->SetMarkupsLogic(host.MarkupsLogic);
  manager3D->SetRenderer(renderer3D);
  manager3D->SetKOVAViewNode(view);
  manager2D->SetMarkupsLogic(host.MarkupsLogic);
  manager2D->SetRenderer(renderer2D);
  manager2D->SetKOVAViewNode(slice);

  vtkKOVAMarkupsNode* node = host.MarkupsLogic->AddNewMarkupsNode("vtkKOVAMarkupsTestLineNode");
  ASSERT_NE(node, nullptr);
  auto* displayNode = vtkKOVAMarkupsDisplayNode::SafeDownCast(node->GetDisplayNode());
  vtkVireonMarkupsWidget* widget3D = manager3D->GetWidget(displayNode);
  vtkVireonMarkupsWidget* widget2D = manager2D->GetWidget(displayNode);
  ASSERT_NE(widget3D, nullptr);
  ASSERT_NE(widget2D, nullptr);
  // Clones of the prototype, not the prototype itself.
  vtkVireonMarkupsWidget* prototype = host.MarkupsLogic->GetWidgetByMarkupsType("TestLine");
  EXPECT_NE(widget3D, prototype);
  EXPECT_STREQ(widget3D->GetClassName(), "vtkVireonTestLineWidget");
  EXPECT_NE(
    vtkVireonTestLineRepresentation3D::SafeDownCast(widget3D->GetRepresentation()), nullptr);
  EXPECT_NE(
    vtkVireonTestLineRepresentation2D::SafeDownCast(widget2D->GetRepresentation()), nullptr);
  EXPECT_TRUE(renderer3D->HasViewProp(widget3D->GetRepresentation()));

  // Node changes reach the representations; removing the node drops the widgets.
  node->AddControlPoint(vtkVector3d(0.0, 0.0, 0.0));
  node->AddControlPoint(vtkVector3d(10.0, 0.0, 0.0));
  auto* representation =
    vtkVireonMarkupsWidgetRepresentation::SafeDownCast(widget3D->GetRepresentation());
  EXPECT_TRUE(representation->GetVisibility());
  displayNode->VisibilityOff();
  EXPECT_FALSE(representation->GetVisibility());
  host.Scene->RemoveNode(node);
  EXPECT_EQ(manager3D->GetNumberOfWidgets(), 0);
  EXPECT_EQ(manager2D->GetNumberOfWidgets(), 0);
  EXPECT_EQ(renderer3D->GetViewProps()->GetNumberOfItems(), 0);
}

TEST(vtkVireonTemplateKeyLogic, NoMarkupsModuleLogic)
{
  struct Case
  {
    const char* Name;
    bool WithApplicationLogic;
    bool OtherClass;
  };
  for (const Case& c : { Case{ "no application logic", false, false },
         Case{ "no Markups module", true, false },
         Case{ "Markups logic of another class", true, true } })
  {
    SCOPED_TRACE(c.Name);
    vtkNew<vtkKOVAScene> scene;
    vtkNew<vtkKOVAApplicationLogic> applicationLogic;
    // A markups logic registered under another name must stay unchanged.
    vtkNew<vtkVireonMarkupsLogic> otherMarkupsLogic;
    otherMarkupsLogic->SetKOVAScene(scene);
    applicationLogic->SetModuleLogic("Annotations", otherMarkupsLogic);
    if (c.OtherClass)
    {
      applicationLogic->SetModuleLogic("Markups", vtkNew<vtkVireonModuleLogic>());
    }

    vtkKOVATestErrorCapture errors;
    vtkNew<vtkVireonTemplateKeyLogic> logic;
    if (c.WithApplicationLogic)
    {
      logic->SetKOVAApplicationLogic(applicationLogic);
    }
    logic->SetKOVAScene(scene);
    ASSERT_EQ(errors.GetNumberOfErrors(), 1);
    EXPECT_EQ(errors.GetErrorMessages()[0], "RegisterNodes failed: invalid markups module logic");
    EXPECT_TRUE(otherMarkupsLogic->GetRegisteredMarkupsTypes().empty());
    EXPECT_FALSE(scene->IsNodeClassRegistered("vtkKOVAMarkupsTestLineNode"));
    EXPECT_EQ(logic->GetKOVAScene(), scene.GetPointer());
  }
}

TEST(vtkVireonTemplateKeyLogic, NoSceneIsAnErrorAndTheLogicStaysUsable)
{
  Host host;
  vtkNew<TemplateKeyLogic> logic;
  logic->SetKOVAApplicationLogic(host.ApplicationLogic);
  {
    vtkKOVATestErrorCapture errors;
    logic->RegisterNodes();
    ASSERT_EQ(errors.GetNumberOfErrors(), 1);
    EXPECT_EQ(errors.GetErrorMessages()[0], "RegisterNodes failed: invalid scene");
    EXPECT_FALSE(HasType(host.MarkupsLogic, "TestLine"));
  }
  {
    // The message is shown only while the global warning display is on.
    vtkKOVATestErrorCapture errors;
    vtkObject::GlobalWarningDisplayOff();
    logic->RegisterNodes();
    vtkObject::GlobalWarningDisplayOn();
    EXPECT_EQ(errors.GetNumberOfErrors(), 0);
  }
  vtkKOVATestErrorCapture errors;
  logic->SetKOVAScene(host.Scene);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
  EXPECT_TRUE(HasType(host.MarkupsLogic, "TestLine"));
}

TEST(vtkVireonTemplateKeyLogic, OnlyTheMarkupsLogicHoldsThePrototypes)
{
  vtkWeakPointer<vtkKOVAMarkupsNode> node;
  vtkWeakPointer<vtkVireonMarkupsWidget> widget;
  vtkNew<vtkVireonTemplateKeyLogic> logic;
  {
    Host host;
    logic->SetKOVAApplicationLogic(host.ApplicationLogic);
    logic->SetKOVAScene(host.Scene);
    node = host.MarkupsLogic->GetNodeByMarkupsType("TestLine");
    widget = host.MarkupsLogic->GetWidgetByMarkupsType("TestLine");
    ASSERT_NE(node, nullptr);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->GetReferenceCount(), 1);
    logic->SetKOVAScene(nullptr);
    // The application logic, the markups logic and the scene go away with the host.
    host.ApplicationLogic->SetModuleLogic("Markups", nullptr);
  }
  EXPECT_EQ(widget, nullptr);
  EXPECT_EQ(node, nullptr);
}

TEST(vtkVireonTemplateKeyLogic, PrintsWhatTheMarkupsLogicPrints)
{
  vtkNew<vtkVireonTemplateKeyLogic> logic;
  vtkNew<vtkVireonMarkupsLogic> markupsLogic;
  std::ostringstream a, b;
  logic->PrintSelf(a, vtkIndent());
  markupsLogic->PrintSelf(b, vtkIndent());
  auto strip = [](std::string text)
  {
    // Addresses and modification times differ between objects.
    std::string out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
    {
      if (line.find("0x") == std::string::npos && line.find("Modified Time") == std::string::npos)
      {
        out += line + "\n";
      }
    }
    return out;
  };
  EXPECT_EQ(strip(a.str()), strip(b.str()));
  EXPECT_NE(a.str().find("RegisteredMarkupsTypes"), std::string::npos);
}
