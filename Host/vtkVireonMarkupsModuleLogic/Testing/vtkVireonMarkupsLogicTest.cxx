#include <vtkVireonMarkupsLogic.h>

#include <vtkVireonLineWidget.h>

#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsLineNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATestErrorCapture.h>

#include <vtkNew.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
/// A markup type that the scene does not know by itself.
class vtkKOVAMarkupsRulerNode : public vtkKOVAMarkupsLineNode
{
public:
  static vtkKOVAMarkupsRulerNode* New() { VTK_STANDARD_NEW_BODY(vtkKOVAMarkupsRulerNode); }
  vtkTypeMacro(vtkKOVAMarkupsRulerNode, vtkKOVAMarkupsLineNode);
  vtkKOVANode* CreateNodeInstance() override { return New(); }
  const char* GetNodeTagName() override { return "MarkupsRuler"; }
  const char* GetMarkupType() override { return "Ruler"; }
  std::string GetDefaultNodeNamePrefix() override { return "R"; }
};
}

TEST(vtkVireonMarkupsLogic, RegistryOfMarkupTypes)
{
  vtkNew<vtkVireonMarkupsLogic> logic;
  vtkNew<vtkKOVAMarkupsRulerNode> ruler;
  vtkNew<vtkVireonLineWidget> widget;
  // Registered before the logic has a scene: the class reaches the scene when it is set.
  logic->RegisterMarkupsNode(ruler, widget, false);
  vtkNew<vtkKOVAMarkupsCurveNode> curve;
  vtkNew<vtkVireonLineWidget> curveWidget, handles;
  logic->RegisterMarkupsNode(curve, curveWidget, true, handles);
  EXPECT_EQ(logic->GetRegisteredMarkupsTypes(), (std::vector<std::string>{ "Ruler", "Curve" }));
  EXPECT_FALSE(logic->GetCreateMarkupsPushButton("Ruler"));
  EXPECT_TRUE(logic->GetCreateMarkupsPushButton("Curve"));
  EXPECT_EQ(logic->GetInteractionWidgetByMarkupsType("Curve"), handles.GetPointer());
  EXPECT_EQ(logic->GetNodeByMarkupsType("Ruler"), ruler.GetPointer());
  EXPECT_EQ(logic->GetWidgetByMarkupsType("Ruler"), widget.GetPointer());
  EXPECT_EQ(logic->GetNodeByMarkupsType("Angle"), nullptr);
  EXPECT_EQ(logic->GetWidgetByMarkupsType(nullptr), nullptr);

  vtkNew<vtkKOVAScene> scene;
  EXPECT_FALSE(scene->IsNodeClassRegistered("vtkKOVAMarkupsRulerNode"));
  logic->SetKOVAScene(scene);
  EXPECT_TRUE(scene->IsNodeClassRegistered("vtkKOVAMarkupsRulerNode"));

  vtkKOVAMarkupsNode* node = logic->AddNewMarkupsNode("vtkKOVAMarkupsRulerNode");
  ASSERT_NE(node, nullptr);
  EXPECT_STREQ(node->GetName(), "R");
  EXPECT_NE(vtkKOVAMarkupsDisplayNode::SafeDownCast(node->GetDisplayNode()), nullptr);
  EXPECT_STREQ(logic->AddNewMarkupsNode("vtkKOVAMarkupsRulerNode", "mine")->GetName(), "mine");

  // A second registration of a type replaces its prototypes, in place.
  vtkNew<vtkVireonLineWidget> otherWidget;
  logic->RegisterMarkupsNode(vtkNew<vtkKOVAMarkupsRulerNode>(), otherWidget);
  EXPECT_EQ(logic->GetRegisteredMarkupsTypes().size(), 2u);
  EXPECT_EQ(logic->GetWidgetByMarkupsType("Ruler"), otherWidget.GetPointer());
  EXPECT_TRUE(logic->GetCreateMarkupsPushButton("Ruler"));

  logic->UnregisterMarkupsNode(curve);
  EXPECT_EQ(logic->GetRegisteredMarkupsTypes(), (std::vector<std::string>{ "Ruler" }));
}

TEST(vtkVireonMarkupsLogic, Errors)
{
  vtkNew<vtkVireonMarkupsLogic> logic;
  vtkNew<vtkKOVAMarkupsLineNode> line;
  vtkNew<vtkVireonLineWidget> widget;
  vtkKOVATestErrorCapture errors;
  logic->RegisterMarkupsNode(nullptr, widget);
  logic->RegisterMarkupsNode(line, nullptr);
  EXPECT_EQ(logic->AddNewMarkupsNode("vtkKOVAMarkupsLineNode"), nullptr);
  vtkNew<vtkKOVAScene> scene;
  logic->SetKOVAScene(scene);
  EXPECT_EQ(logic->AddNewMarkupsNode("vtkKOVAMarkupsLineNode"), nullptr);
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "RegisterMarkupsNode: markupsNode is nullptr",
      "RegisterMarkupsNode: markupsWidget is nullptr",
      "AddNewMarkupsNode: invalid scene",
      "AddNewMarkupsNode: vtkKOVAMarkupsLineNode is not a registered markups class" }));
  EXPECT_TRUE(logic->GetRegisteredMarkupsTypes().empty());
  EXPECT_EQ(scene->GetNumberOfNodes(), 0);
}
