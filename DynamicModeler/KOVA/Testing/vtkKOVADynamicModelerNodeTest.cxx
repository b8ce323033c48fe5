#include <vtkKOVADynamicModelerNode.h>

#include <vtkKOVAScene.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVATextNode.h>

#include <vtkCommand.h>
#include <vtkIntArray.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace
{
std::string Printed(vtkKOVANode* node)
{
  std::ostringstream os;
  node->PrintSelf(os, vtkIndent(2));
  return os.str();
}

std::string Written(vtkKOVANode* node)
{
  std::ostringstream os;
  node->WriteXML(os, 0);
  return os.str();
}

vtkSmartPointer<vtkKOVAScene> NewScene()
{
  auto scene = vtkSmartPointer<vtkKOVAScene>::New();
  vtkNew<vtkKOVADynamicModelerNode> prototype;
  scene->RegisterNodeClass(prototype);
  return scene;
}

/// Exposes the protected event handler, to hand it callers that references cannot produce.
class ExposedDynamicModelerNode : public vtkKOVADynamicModelerNode
{
public:
  static ExposedDynamicModelerNode* New() { VTK_STANDARD_NEW_BODY(ExposedDynamicModelerNode); }
  vtkTypeMacro(ExposedDynamicModelerNode, vtkKOVADynamicModelerNode);
  using vtkKOVADynamicModelerNode::ProcessKOVAEvents;
};
}

TEST(vtkKOVADynamicModelerNode, TypeAndDefaults)
{
  vtkNew<vtkKOVADynamicModelerNode> node;
  EXPECT_STREQ(node->GetClassName(), "vtkKOVADynamicModelerNode");
  EXPECT_TRUE(node->IsA("vtkKOVANode"));
  EXPECT_EQ(node->GetNumberOfGenerationsFromBase("vtkKOVANode"), 1);
  EXPECT_STREQ(node->GetNodeTagName(), "DynamicModeler");
  EXPECT_FALSE(node->HasCopyContent());
  EXPECT_EQ(node->GetToolName(), nullptr);
  EXPECT_FALSE(node->GetContinuousUpdate());

  vtkSmartPointer<vtkKOVANode> instance;
  instance.TakeReference(node->CreateNodeInstance());
  EXPECT_STREQ(instance->GetClassName(), "vtkKOVADynamicModelerNode");
  vtkSmartPointer<vtkKOVADynamicModelerNode> other;
  other.TakeReference(node->NewInstance());
  EXPECT_STREQ(other->GetClassName(), "vtkKOVADynamicModelerNode");

  const std::string printed = Printed(node);
  EXPECT_NE(printed.find("  ToolName: (none)\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("  ContinuousUpdate: false\n"), std::string::npos) << printed;

  const std::string written = Written(node);
  EXPECT_NE(written.find(" continuousUpdate=\"false\""), std::string::npos) << written;
  EXPECT_EQ(written.find("toolName"), std::string::npos) << written;
}

TEST(vtkKOVADynamicModelerNode, SettersModifyOnlyOnChange)
{
  vtkNew<vtkKOVADynamicModelerNode> node;
  vtkKOVATestEventRecorder modified(node, vtkCommand::ModifiedEvent);

  node->SetToolName(nullptr);
  EXPECT_EQ(modified.Count(), 0);

  char first[] = "Plane cut";
  node->SetToolName(first);
  EXPECT_EQ(modified.Count(), 1);
  EXPECT_STREQ(node->GetToolName(), "Plane cut");
  EXPECT_NE(node->GetToolName(), first) << "the node keeps its own copy";
  first[0] = 'X';
  EXPECT_STREQ(node->GetToolName(), "Plane cut");

  const std::string sameText = "Plane cut";
  node->SetToolName(sameText.c_str());
  EXPECT_EQ(modified.Count(), 1);

  node->SetToolName(nullptr);
  EXPECT_EQ(modified.Count(), 2);
  EXPECT_EQ(node->GetToolName(), nullptr);

  node->SetContinuousUpdate(false);
  EXPECT_EQ(modified.Count(), 2);
  node->ContinuousUpdateOn();
  EXPECT_TRUE(node->GetContinuousUpdate());
  node->SetContinuousUpdate(true);
  EXPECT_EQ(modified.Count(), 3);
  node->ContinuousUpdateOff();
  EXPECT_FALSE(node->GetContinuousUpdate());
  EXPECT_EQ(modified.Count(), 4);

  node->SetToolName("Mirror");
  node->ContinuousUpdateOn();
  const std::string printed = Printed(node);
  EXPECT_NE(printed.find("  ToolName: Mirror\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("  ContinuousUpdate: true\n"), std::string::npos) << printed;
}

TEST(vtkKOVADynamicModelerNode, ContinuousUpdateIsTrueOnlyForExactTrue)
{
  const std::pair<const char*, bool> cases[] = {
    { "true", true },
    { "1", false },
    { "TRUE", false },
    { "True", false },
    { " true", false },
    { "", false },
    { "false", false },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.first);
    vtkNew<vtkKOVADynamicModelerNode> node;
    node->SetContinuousUpdate(!c.second);
    const char* atts[] = { "continuousUpdate", c.first, nullptr, nullptr };
    node->ReadXMLAttributes(atts);
    EXPECT_EQ(node->GetContinuousUpdate(), c.second);
  }
}

TEST(vtkKOVADynamicModelerNode, ReadingStopsAtTheFirstNullValueAndModifiesOnce)
{
  vtkNew<vtkKOVADynamicModelerNode> node;
  vtkKOVATestEventRecorder modified(node, vtkCommand::ModifiedEvent);
  const char* atts[] = {
    "toolName", "Extrude", "continuousUpdate", nullptr, "name", "late", nullptr, nullptr
  };
  node->ReadXMLAttributes(atts);
  EXPECT_STREQ(node->GetToolName(), "Extrude");
  EXPECT_FALSE(node->GetContinuousUpdate());
  EXPECT_EQ(node->GetName(), nullptr);
  EXPECT_EQ(modified.Count(), 1);

  // The tool name is taken unchanged; other names are left to the base class.
  const char* more[] = {
    "unknown", "x", "toolName", "  spaced &amp; ", "continuousUpdate", "true", nullptr, nullptr
  };
  node->ReadXMLAttributes(more);
  EXPECT_STREQ(node->GetToolName(), "  spaced &amp; ");
  EXPECT_TRUE(node->GetContinuousUpdate());
  EXPECT_EQ(modified.Count(), 2);
}

TEST(vtkKOVADynamicModelerNode, SceneFileRoundTrip)
{
  const char* toolNames[] = { "Plane cut", "a \"quoted\" <tag> & more", nullptr };
  EXPECT_EQ(vtkKOVANode::XMLAttributeEncodeString(toolNames[1]),
    "a &quot;quoted&quot; &lt;tag&gt; &amp; more");
  for (const char* toolName : toolNames)
  {
    SCOPED_TRACE(toolName ? toolName : "(null)");
    auto scene = NewScene();
    vtkNew<vtkKOVADynamicModelerNode> node;
    node->SetToolName(toolName);
    node->ContinuousUpdateOn();
    scene->AddNode(node);

    const std::string written = Written(node);
    if (toolName)
    {
      const std::string attribute =
        std::string(" toolName=\"") + vtkKOVANode::XMLAttributeEncodeString(toolName) + "\"";
      EXPECT_NE(written.find(attribute + " continuousUpdate"), std::string::npos) << written;
    }
    else
    {
      EXPECT_EQ(written.find("toolName"), std::string::npos) << written;
    }
    const std::string suffix = " continuousUpdate=\"true\"";
    ASSERT_GE(written.size(), suffix.size());
    EXPECT_EQ(written.substr(written.size() - suffix.size()), suffix);

    const std::string xml = scene->WriteToXMLString();
    EXPECT_NE(xml.find("<DynamicModeler "), std::string::npos) << xml;
    auto readScene = NewScene();
    ASSERT_TRUE(readScene->ReadFromXMLString(xml));
    auto* readNode = vtkKOVADynamicModelerNode::SafeDownCast(
      readScene->GetFirstNodeByClass("vtkKOVADynamicModelerNode"));
    ASSERT_NE(readNode, nullptr);
    if (toolName)
    {
      EXPECT_STREQ(readNode->GetToolName(), toolName);
    }
    else
    {
      EXPECT_EQ(readNode->GetToolName(), nullptr);
    }
    EXPECT_TRUE(readNode->GetContinuousUpdate());
    EXPECT_STREQ(readNode->GetName(), node->GetName());
  }
}

TEST(vtkKOVADynamicModelerNode, CopyFromAnotherDynamicModelerNode)
{
  vtkNew<vtkKOVADynamicModelerNode> source;
  source->SetName("source");
  source->SetToolName("Hollow");
  source->ContinuousUpdateOn();
  vtkNew<vtkKOVADynamicModelerNode> node;
  vtkKOVATestEventRecorder modified(node, vtkCommand::ModifiedEvent);
  vtkKOVATestErrorCapture errors;
  node->Copy(source);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
  EXPECT_STREQ(node->GetToolName(), "Hollow");
  EXPECT_TRUE(node->GetContinuousUpdate());
  EXPECT_STREQ(node->GetName(), "source");
  EXPECT_EQ(modified.Count(), 1);

  // Through the scene's default node (Reset goes through Copy for this class).
  vtkNew<vtkKOVADynamicModelerNode> fresh;
  fresh->SetName("fresh");
  fresh->Reset(source);
  EXPECT_STREQ(fresh->GetToolName(), "Hollow");
  EXPECT_STREQ(fresh->GetName(), "fresh");
}

TEST(vtkKOVADynamicModelerNode, CopyFromAnotherClassReportsAndKeepsOwnProperties)
{
  vtkNew<vtkKOVATextNode> text;
  text->SetName("text name");
  vtkNew<vtkKOVADynamicModelerNode> node;
  node->SetToolName("Margin");
  node->ContinuousUpdateOn();

  vtkKOVATestErrorCapture errors;
  node->Copy(text);
  ASSERT_EQ(errors.GetNumberOfErrors(), 1);
  EXPECT_EQ(
    vtkKOVATestErrorCapture::MessageOf(errors.GetErrors()[0]), "Copy failed: invalid source node");
  EXPECT_NE(errors.GetErrors()[0].find("vtkKOVADynamicModelerNode ("), std::string::npos);
  EXPECT_STREQ(node->GetToolName(), "Margin");
  EXPECT_TRUE(node->GetContinuousUpdate());
  EXPECT_STREQ(node->GetName(), "text name") << "the base part of the copy stays done";

  errors.Clear();
  node->Copy(nullptr);
  ASSERT_EQ(errors.GetNumberOfErrors(), 1);
  EXPECT_EQ(
    vtkKOVATestErrorCapture::MessageOf(errors.GetErrors()[0]), "Copy failed: invalid source node");
  EXPECT_STREQ(node->GetToolName(), "Margin");
}

TEST(vtkKOVADynamicModelerNode, RelaysObservedNodeEvents)
{
  auto scene = NewScene();
  vtkNew<vtkKOVADynamicModelerNode> node;
  scene->AddNode(node);
  vtkKOVANode* input = scene->AddNewNodeByClass("vtkKOVATextNode", "input");
  vtkKOVANode* output = scene->AddNewNodeByClass("vtkKOVATextNode", "output");
  vtkNew<vtkIntArray> events;
  events->InsertNextValue(vtkCommand::ModifiedEvent);
  events->InsertNextValue(vtkKOVATextNode::TextModifiedEvent);
  events->InsertNextValue(4242);
  node->SetAndObserveNodeReferenceID("input", input->GetID(), events);
  node->SetNodeReferenceID("output", output->GetID());

  vtkKOVATestEventRecorder relayed(node, vtkKOVADynamicModelerNode::ReferencedNodeModifiedEvent);
  input->InvokeEvent(4242);
  ASSERT_EQ(relayed.Count(), 1);
  EXPECT_EQ(relayed.Events[0].second, input);

  relayed.Clear();
  input->Modified();
  ASSERT_EQ(relayed.Count(), 1);
  EXPECT_EQ(relayed.Events[0].second, input);

  // Each observed event is relayed: a text change sends ModifiedEvent and TextModifiedEvent.
  relayed.Clear();
  vtkKOVATextNode::SafeDownCast(input)->SetText("new");
  EXPECT_EQ(relayed.Count(), 2);

  // Events of nodes that are referenced without observation are not relayed.
  relayed.Clear();
  output->Modified();
  EXPECT_EQ(relayed.Count(), 0);

  // Continuous update plays no part.
  node->ContinuousUpdateOn();
  input->InvokeEvent(4242);
  EXPECT_EQ(relayed.Count(), 1);
}

TEST(vtkKOVADynamicModelerNode, NoRelayOutsideAScene)
{
  auto scene = NewScene();
  vtkNew<vtkKOVADynamicModelerNode> node;
  scene->AddNode(node);
  vtkKOVANode* input = scene->AddNewNodeByClass("vtkKOVATextNode", "input");
  node->SetAndObserveNodeReferenceID("input", input->GetID());
  scene->RemoveNode(node);
  ASSERT_EQ(node->GetScene(), nullptr);

  vtkKOVATestEventRecorder relayed(node, vtkKOVADynamicModelerNode::ReferencedNodeModifiedEvent);
  vtkKOVATestErrorCapture errors;
  input->Modified();
  EXPECT_EQ(relayed.Count(), 0);
  ASSERT_EQ(errors.GetNumberOfErrors(), 1);
  EXPECT_EQ(vtkKOVATestErrorCapture::MessageOf(errors.GetErrors()[0]),
    "ProcessKOVAEvents: Invalid KOVA scene");
}

TEST(vtkKOVADynamicModelerNode, OnlyNodeCallersAreRelayed)
{
  auto scene = NewScene();
  vtkNew<ExposedDynamicModelerNode> node;
  scene->AddNode(node);
  vtkNew<vtkKOVATextNode> text;
  vtkNew<vtkIntArray> notANode;
  vtkKOVATestEventRecorder relayed(node, vtkKOVADynamicModelerNode::ReferencedNodeModifiedEvent);
  node->ProcessKOVAEvents(notANode, vtkCommand::ModifiedEvent, nullptr);
  EXPECT_EQ(relayed.Count(), 0);
  node->ProcessKOVAEvents(text, 99999, notANode.GetPointer());
  ASSERT_EQ(relayed.Count(), 1);
  EXPECT_EQ(relayed.Events[0].second, text.GetPointer());
}
