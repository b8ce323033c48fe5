#include <vtkKOVAMarkupsTestLineNode.h>

#include <vtkKOVAI18N.h>
#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVAStorageNode.h>

#include <vtkNew.h>
#include <vtkPolyData.h>
#include <vtkSmartPointer.h>
#include <vtkSphereSource.h>

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
/// A subclass that does not declare copy content of its own.
class vtkKOVAMarkupsTestLineSubclassNode : public vtkKOVAMarkupsTestLineNode
{
public:
  static vtkKOVAMarkupsTestLineSubclassNode* New()
  {
    VTK_STANDARD_NEW_BODY(vtkKOVAMarkupsTestLineSubclassNode);
  }
  vtkTypeMacro(vtkKOVAMarkupsTestLineSubclassNode, vtkKOVAMarkupsTestLineNode);
};

/// Translates the test line's texts and records the contexts it was asked for.
class RecordingTranslator : public vtkKOVATranslator
{
public:
  static RecordingTranslator* New() { VTK_STANDARD_NEW_BODY(RecordingTranslator); }
  vtkTypeMacro(RecordingTranslator, vtkKOVATranslator);
  std::string Translate(const char* context,
    const char* sourceText,
    const char* disambiguation,
    int n) override
  {
    this->Requests.push_back(std::string(context) + "|" + sourceText + "|" +
                             (disambiguation ? disambiguation : "(null)") + "|" +
                             std::to_string(n));
    if (std::string(context) != "vtkKOVAMarkupsTestLineNode")
    {
      return std::string();
    }
    if (std::string(sourceText) == "Test Line")
    {
      return "Testlinie";
    }
    if (std::string(sourceText) == "TL")
    {
      return "TLx";
    }
    return std::string();
  }
  std::vector<std::string> Requests;
};

/// The attribute names of the first element \a tag in scene file content, in order.
std::vector<std::string> AttributeNames(const std::string& xml, const std::string& tag)
{
  std::vector<std::string> names;
  const size_t start = xml.find("<" + tag + " ");
  if (start == std::string::npos)
  {
    return names;
  }
  const std::string element = xml.substr(start, xml.find('>', start) - start);
  // Each attribute is a blank, its name, '=' and a quoted value (quotes inside are encoded).
  size_t at = element.find(' ');
  while (at != std::string::npos)
  {
    const size_t equals = element.find("=\"", at);
    if (equals == std::string::npos)
    {
      break;
    }
    names.push_back(element.substr(at + 1, equals - at - 1));
    const size_t close = element.find('"', equals + 2);
    at = close == std::string::npos ? close : element.find(' ', close);
  }
  return names;
}

void AddTwoPoints(vtkKOVAMarkupsLineNode* line)
{
  line->AddControlPoint(vtkVector3d(1.5, -2.0, 3.25));
  line->AddControlPoint(vtkVector3d(11.5, 8.0, -6.75));
}
}

TEST(vtkKOVAMarkupsTestLineNode, NamesIconsAndTypeOfAFreshNode)
{
  vtkNew<vtkKOVAMarkupsTestLineNode> node;
  EXPECT_STREQ(node->GetClassName(), "vtkKOVAMarkupsTestLineNode");
  EXPECT_STREQ(node->GetNodeTagName(), "MarkupsTestLine");
  EXPECT_STREQ(node->GetMarkupType(), "TestLine");
  EXPECT_EQ(node->GetTypeDisplayName(), "Test Line");
  EXPECT_EQ(node->GetDefaultNodeNamePrefix(), "TL");
  EXPECT_STREQ(node->GetIcon(), ":/Icons/MarkupsGeneric.png");
  EXPECT_STREQ(node->GetAddIcon(), ":/Icons/MarkupsGenericMouseModePlace.png");
  EXPECT_STREQ(node->GetPlaceAddIcon(), ":/Icons/MarkupsGenericMouseModePlaceAdd.png");
  EXPECT_EQ(node->GetTargetOrgan(), nullptr);

  // The line markup's behaviour is unchanged.
  EXPECT_EQ(node->GetRequiredNumberOfControlPoints(), 2);
  EXPECT_EQ(node->GetMaximumNumberOfControlPoints(), 2);
  AddTwoPoints(node);
  EXPECT_EQ(node->AddControlPoint(vtkVector3d(0.0, 0.0, 0.0)), -1);
  EXPECT_NEAR(node->GetLineLengthWorld(), std::sqrt(100.0 + 100.0 + 100.0), 1e-12);
}

TEST(vtkKOVAMarkupsTestLineNode, TypeOperations)
{
  vtkNew<vtkKOVAMarkupsTestLineNode> node;
  EXPECT_TRUE(node->IsA("vtkKOVAMarkupsTestLineNode"));
  EXPECT_TRUE(node->IsA("vtkKOVAMarkupsLineNode"));
  EXPECT_TRUE(node->IsA("vtkKOVAMarkupsNode"));
  EXPECT_TRUE(node->IsA("vtkKOVANode"));
  EXPECT_FALSE(node->IsA("vtkKOVAMarkupsCurveNode"));
  EXPECT_EQ(node->GetNumberOfGenerationsFromBase("vtkKOVAMarkupsTestLineNode"), 0);
  EXPECT_EQ(node->GetNumberOfGenerationsFromBase("vtkKOVAMarkupsLineNode"), 1);
  EXPECT_EQ(node->GetNumberOfGenerationsFromBase("vtkKOVAMarkupsNode"), 2);
  EXPECT_EQ(
    vtkKOVAMarkupsTestLineNode::GetNumberOfGenerationsFromBaseType("vtkKOVAMarkupsLineNode"), 1);
  EXPECT_TRUE(vtkKOVAMarkupsTestLineNode::IsTypeOf("vtkKOVAMarkupsLineNode"));

  vtkNew<vtkKOVAMarkupsLineNode> line;
  EXPECT_EQ(vtkKOVAMarkupsTestLineNode::SafeDownCast(line), nullptr);
  EXPECT_EQ(vtkKOVAMarkupsTestLineNode::SafeDownCast(node.GetPointer()), node.GetPointer());

  vtkSmartPointer<vtkKOVAMarkupsTestLineNode> instance =
    vtkSmartPointer<vtkKOVAMarkupsTestLineNode>::Take(node->NewInstance());
  EXPECT_STREQ(instance->GetClassName(), "vtkKOVAMarkupsTestLineNode");
  vtkSmartPointer<vtkKOVANode> created =
    vtkSmartPointer<vtkKOVANode>::Take(node->CreateNodeInstance());
  EXPECT_STREQ(created->GetClassName(), "vtkKOVAMarkupsTestLineNode");
  EXPECT_EQ(created->GetReferenceCount(), 1);
}

TEST(vtkKOVAMarkupsTestLineNode, TargetOrganIsAPlainPointer)
{
  vtkNew<vtkPolyData> organ;
  const int references = organ->GetReferenceCount();
  {
    vtkNew<vtkKOVAMarkupsTestLineNode> node;
    AddTwoPoints(node);
    const vtkMTimeType mtime = node->GetMTime();
    node->SetTargetOrgan(organ);
    EXPECT_EQ(node->GetTargetOrgan(), organ.GetPointer());
    EXPECT_EQ(organ->GetReferenceCount(), references);
    EXPECT_EQ(node->GetMTime(), mtime);

    // Not printed.
    std::ostringstream printed;
    node->Print(printed);
    EXPECT_EQ(printed.str().find("TargetOrgan"), std::string::npos);

    // Not copied.
    vtkNew<vtkKOVAMarkupsTestLineNode> copy;
    copy->Copy(node);
    EXPECT_EQ(copy->GetNumberOfControlPoints(), 2);
    EXPECT_EQ(copy->GetTargetOrgan(), nullptr);
    vtkNew<vtkKOVAMarkupsTestLineNode> contentCopy;
    contentCopy->CopyContent(node);
    EXPECT_EQ(contentCopy->GetTargetOrgan(), nullptr);

    node->SetTargetOrgan(nullptr);
    EXPECT_EQ(node->GetTargetOrgan(), nullptr);
    node->SetTargetOrgan(organ);
  }
  // The node's destruction released nothing.
  EXPECT_EQ(organ->GetReferenceCount(), references);
}

TEST(vtkKOVAMarkupsTestLineNode, PrintsWhatTheLineNodePrints)
{
  vtkNew<vtkKOVAMarkupsTestLineNode> node;
  vtkNew<vtkKOVAMarkupsLineNode> line;
  for (vtkKOVAMarkupsLineNode* n : { static_cast<vtkKOVAMarkupsLineNode*>(node), line.Get() })
  {
    AddTwoPoints(n);
    n->SetName("same");
  }
  // Same text, but for addresses and modification times.
  auto body = [](vtkObject* object)
  {
    std::ostringstream os;
    object->PrintSelf(os, vtkIndent());
    std::istringstream in(os.str());
    std::string line, text;
    while (std::getline(in, line))
    {
      if (line.find("0x") == std::string::npos && line.find("Modified Time") == std::string::npos)
      {
        text += line + "\n";
      }
    }
    return text;
  };
  EXPECT_EQ(body(node), body(line));
}

TEST(vtkKOVAMarkupsTestLineNode, CopyContentOnlyForTheClassItself)
{
  vtkNew<vtkKOVAMarkupsTestLineNode> node;
  EXPECT_TRUE(node->HasCopyContent());
  vtkNew<vtkKOVAMarkupsTestLineSubclassNode> subclass;
  EXPECT_FALSE(subclass->HasCopyContent());

  // Reset goes through the content copy: control points return to the default node's.
  vtkNew<vtkKOVAMarkupsTestLineNode> defaultNode;
  defaultNode->AddControlPoint(vtkVector3d(7.0, 7.0, 7.0));
  AddTwoPoints(node);
  node->SetName("kept");
  node->Reset(defaultNode);
  EXPECT_STREQ(node->GetName(), "kept");
  ASSERT_EQ(node->GetNumberOfControlPoints(), 1);
  EXPECT_DOUBLE_EQ(node->GetNthControlPointPositionVector(0).GetX(), 7.0);
}

TEST(vtkKOVAMarkupsTestLineNode, TranslatedNamesUseTheClassContext)
{
  vtkNew<RecordingTranslator> translator;
  vtkKOVAI18N::GetInstance()->SetTranslator(translator);
  vtkNew<vtkKOVAMarkupsTestLineNode> node;
  const std::string displayName = node->GetTypeDisplayName();
  const std::string prefix = node->GetDefaultNodeNamePrefix();
  vtkKOVAI18N::GetInstance()->SetTranslator(nullptr);

  EXPECT_EQ(displayName, "Testlinie");
  EXPECT_EQ(prefix, "TLx");
  const std::set<std::string> requests(translator->Requests.begin(), translator->Requests.end());
  EXPECT_TRUE(requests.count("vtkKOVAMarkupsTestLineNode|Test Line|(null)|-1"));
  EXPECT_TRUE(requests.count("vtkKOVAMarkupsTestLineNode|TL|(null)|-1"));
}

TEST(vtkKOVAMarkupsTestLineNode, DisplayAndStorageNodesAreTheLineMarkups)
{
  vtkNew<vtkKOVAScene> scene;
  scene->RegisterNodeClass(vtkNew<vtkKOVAMarkupsTestLineNode>());
  auto* node = vtkKOVAMarkupsTestLineNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAMarkupsTestLineNode"));
  ASSERT_NE(node, nullptr);
  ASSERT_TRUE(node->CreateDefaultDisplayNodes());
  EXPECT_NE(vtkKOVAMarkupsDisplayNode::SafeDownCast(node->GetDisplayNode()), nullptr);
  vtkSmartPointer<vtkKOVAStorageNode> storage =
    vtkSmartPointer<vtkKOVAStorageNode>::Take(node->CreateDefaultStorageNode());
  ASSERT_NE(storage, nullptr);
  EXPECT_STREQ(storage->GetClassName(), "vtkKOVAMarkupsJsonStorageNode");
  EXPECT_EQ(storage->GetScene(), nullptr);
  EXPECT_TRUE(storage->CanReadInReferenceNode(node));
}

TEST(vtkKOVAMarkupsTestLineNode, SceneFileRoundTrip)
{
  vtkNew<vtkSphereSource> sphere;
  sphere->Update();

  vtkNew<vtkKOVAScene> scene;
  scene->RegisterNodeClass(vtkNew<vtkKOVAMarkupsTestLineNode>());
  auto* node = vtkKOVAMarkupsTestLineNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAMarkupsTestLineNode", "TL"));
  ASSERT_NE(node, nullptr);
  AddTwoPoints(node);
  node->SetNthControlPointLabel(1, "tip & \"end\"");
  node->SetLocked(true);
  node->SetTargetOrgan(sphere->GetOutput());
  const std::string xml = scene->WriteToXMLString();
  EXPECT_NE(xml.find("<MarkupsTestLine "), std::string::npos) << xml;

  // The element carries exactly the attributes of a line markup.
  vtkNew<vtkKOVAScene> lineScene;
  auto* line =
    vtkKOVAMarkupsLineNode::SafeDownCast(lineScene->AddNewNodeByClass("vtkKOVAMarkupsLineNode"));
  AddTwoPoints(line);
  const std::vector<std::string> names = AttributeNames(xml, "MarkupsTestLine");
  EXPECT_GT(names.size(), 4u);
  EXPECT_EQ(names, AttributeNames(lineScene->WriteToXMLString(), "MarkupsLine"));

  // Read back: a registered class gives a test line with the same points and no target organ.
  vtkNew<vtkKOVAScene> read;
  read->RegisterNodeClass(vtkNew<vtkKOVAMarkupsTestLineNode>());
  ASSERT_TRUE(read->ReadFromXMLString(xml));
  auto* readNode = vtkKOVAMarkupsTestLineNode::SafeDownCast(
    read->GetFirstNodeByClass("vtkKOVAMarkupsTestLineNode"));
  ASSERT_NE(readNode, nullptr);
  EXPECT_STREQ(readNode->GetName(), node->GetName());
  ASSERT_EQ(readNode->GetNumberOfControlPoints(), 2);
  for (int i = 0; i < 2; ++i)
  {
    for (int k = 0; k < 3; ++k)
    {
      EXPECT_DOUBLE_EQ(readNode->GetNthControlPointPositionVector(i)[k],
        node->GetNthControlPointPositionVector(i)[k]);
    }
    EXPECT_EQ(readNode->GetNthControlPointLabel(i), node->GetNthControlPointLabel(i));
  }
  EXPECT_TRUE(readNode->GetLocked());
  EXPECT_EQ(readNode->GetTargetOrgan(), nullptr);
  node->SetTargetOrgan(nullptr);
}
