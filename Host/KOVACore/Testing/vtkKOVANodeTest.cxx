#include "vtkKOVATestNode.h"

#include <vtkKOVAScene.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>

#include <vtkCommand.h>
#include <vtkIntArray.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <gtest/gtest.h>

namespace
{
vtkSmartPointer<vtkKOVAScene> NewTestScene()
{
  auto scene = vtkSmartPointer<vtkKOVAScene>::New();
  vtkNew<vtkKOVATestNode> testPrototype;
  vtkNew<vtkKOVATestSubNode> subPrototype;
  scene->RegisterNodeClass(testPrototype);
  scene->RegisterNodeClass(subPrototype);
  return scene;
}

vtkKOVATestNode* AddTestNode(vtkKOVAScene* scene, const char* name = nullptr)
{
  vtkNew<vtkKOVATestNode> node;
  node->SetName(name);
  return vtkKOVATestNode::SafeDownCast(scene->AddNode(node));
}
}

TEST(vtkKOVANode, AttributeTextSurvivesSceneFileRoundTrip)
{
  const std::string texts[] = {
    "",
    "plain",
    "quote \" and apostrophe '",
    "<tag attr=\"x\">&amp;</tag>",
    "100% done, %41 is not A, trailing %",
    "line one\nline two\r\n\ttabbed  double  blanks ",
    std::string("controls \x01\x1f\x7f end"),
    "UTF-8: \xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80",
    "not UTF-8: \xff\xfe \xc3 \xe6\x97 \xed\xa0\x80",
  };
  for (const std::string& text : texts)
  {
    SCOPED_TRACE(text);
    auto scene = NewTestScene();
    vtkKOVATestNode* node = AddTestNode(scene, text.c_str());
    node->SetValue(text);
    const std::string xml = scene->WriteToXMLString();

    auto readScene = NewTestScene();
    vtkKOVATestErrorCapture errors;
    ASSERT_TRUE(readScene->ReadFromXMLString(xml)) << xml;
    EXPECT_EQ(errors.GetNumberOfErrors(), 0);
    ASSERT_EQ(readScene->GetNumberOfNodes(), 1);
    auto* readNode = vtkKOVATestNode::SafeDownCast(readScene->GetNthNode(0));
    ASSERT_NE(readNode, nullptr);
    EXPECT_EQ(readNode->GetValue(), text);
    EXPECT_EQ(std::string(readNode->GetName()), text);
    EXPECT_STREQ(readNode->GetID(), node->GetID());
  }
}

TEST(vtkKOVANode, EncodedTextIsSafeInsideQuotes)
{
  const std::string encoded = vtkKOVANode::XMLAttributeEncodeString("a\"b<c>d&e'f\ng%");
  EXPECT_EQ(encoded, "a&quot;b&lt;c&gt;d&amp;e&apos;f%0Ag%25");
  EXPECT_EQ(vtkKOVANode::XMLAttributeDecodeString("f%0Ag%25 %zz %4"), "f\ng% %zz %4");
}

TEST(vtkKOVANode, ModifyBlockerGivesOneModifiedEvent)
{
  vtkNew<vtkKOVATestNode> node;
  vtkKOVATestEventRecorder modified(node, vtkCommand::ModifiedEvent);
  {
    KOVANodeModifyBlocker outer(node);
    node->SetName("a");
    {
      KOVANodeModifyBlocker inner(node);
      node->SetValue("x");
      node->SetName("b");
    }
    EXPECT_EQ(modified.Count(), 0) << "the inner blocker must not release the outer one";
    EXPECT_EQ(node->GetModifiedEventPending(), 3);
  }
  EXPECT_EQ(modified.Count(), 1);
  EXPECT_EQ(node->GetModifiedEventPending(), 0);

  modified.Clear();
  {
    KOVANodeModifyBlocker blocker(node);
    node->SetName("b"); // unchanged
  }
  EXPECT_EQ(modified.Count(), 0);

  node->SetValue("y");
  node->SetValue("y");
  EXPECT_EQ(modified.Count(), 1);
}

TEST(vtkKOVANode, CustomEventsAreHeldBackOnceWhileModifying)
{
  vtkNew<vtkKOVATestNode> node;
  vtkKOVATestEventRecorder custom(node, 12345);
  {
    KOVANodeModifyBlocker blocker(node);
    node->InvokeCustomModifiedEvent(12345);
    node->InvokeCustomModifiedEvent(12345);
    EXPECT_EQ(custom.Count(), 0);
  }
  EXPECT_EQ(custom.Count(), 1);
  node->InvokeCustomModifiedEvent(12345);
  EXPECT_EQ(custom.Count(), 2);
}

TEST(vtkKOVANode, ObservedReferenceEventsReachProcessKOVAEvents)
{
  auto scene = NewTestScene();
  vtkKOVATestNode* observer = AddTestNode(scene);
  vtkKOVATestNode* input = AddTestNode(scene);
  vtkKOVATestNode* other = AddTestNode(scene);

  vtkNew<vtkIntArray> events;
  events->InsertNextValue(vtkCommand::ModifiedEvent);
  events->InsertNextValue(777);
  EXPECT_EQ(observer->SetAndObserveNodeReferenceID("input", input->GetID(), events), input);
  observer->SetNodeReferenceID("plain", other->GetID());
  // The same node in a second observed role is still observed once.
  observer->AddAndObserveNodeReferenceID("second", input->GetID());

  input->SetValue("changed");
  input->InvokeEvent(777);
  other->SetValue("not observed");
  ASSERT_EQ(observer->ReceivedEvents.size(), 2u);
  EXPECT_EQ(observer->ReceivedEvents[0].first, input);
  EXPECT_EQ(observer->ReceivedEvents[0].second, vtkCommand::ModifiedEvent);
  EXPECT_EQ(observer->ReceivedEvents[1].second, 777u);

  // Removing one of the two roles keeps the observation the other one asks for.
  observer->RemoveNodeReferenceIDs("second");
  observer->ReceivedEvents.clear();
  input->SetValue("again");
  EXPECT_EQ(observer->ReceivedEvents.size(), 1u);

  observer->RemoveNodeReferenceIDs("input");
  observer->ReceivedEvents.clear();
  input->SetValue("no longer observed");
  input->InvokeEvent(777);
  EXPECT_TRUE(observer->ReceivedEvents.empty());
  EXPECT_EQ(observer->GetNodeReference("plain"), other);
}

TEST(vtkKOVANode, ReferencesFollowTheScene)
{
  auto scene = NewTestScene();
  vtkKOVATestNode* observer = AddTestNode(scene);

  // A reference to a node that is not in the scene yet is resolved, and observed, once it is added.
  observer->SetAndObserveNodeReferenceID("input", "vtkKOVATestNodeLater");
  EXPECT_EQ(observer->GetNodeReference("input"), nullptr);
  vtkNew<vtkKOVATestNode> later;
  later->SetID("vtkKOVATestNodeLater");
  scene->AddNode(later);
  EXPECT_EQ(observer->GetNodeReference("input"), later.GetPointer());
  later->SetValue("x");
  EXPECT_EQ(observer->ReceivedEvents.size(), 1u);

  // Removing the referenced node drops the references to it.
  scene->RemoveNode(later);
  EXPECT_EQ(observer->GetNumberOfNodeReferences("input"), 0);
  observer->ReceivedEvents.clear();
  later->SetValue("y");
  EXPECT_TRUE(observer->ReceivedEvents.empty());

  // A node that leaves the scene keeps observing what it refers to.
  vtkKOVATestNode* input = AddTestNode(scene);
  observer->SetAndObserveNodeReferenceID("input", input->GetID());
  vtkSmartPointer<vtkKOVATestNode> keep = observer;
  scene->RemoveNode(observer);
  EXPECT_EQ(observer->GetScene(), nullptr);
  observer->ReceivedEvents.clear();
  input->SetValue("z");
  EXPECT_EQ(observer->ReceivedEvents.size(), 1u);
}

TEST(vtkKOVANode, ReferencesSurviveImportWithNewIDs)
{
  auto scene = NewTestScene();
  vtkKOVATestNode* a = AddTestNode(scene, "a");
  vtkKOVATestNode* b = AddTestNode(scene, "b");
  a->SetAndObserveNodeReferenceID("weird role: x;y", b->GetID());
  const std::string xml = scene->WriteToXMLString();

  // Import into the same scene: the IDs are taken, so the imported nodes get new ones and the
  // imported reference points at the imported copy of b.
  ASSERT_TRUE(scene->ReadFromXMLString(xml));
  ASSERT_EQ(scene->GetNumberOfNodes(), 4);
  auto* a2 = vtkKOVATestNode::SafeDownCast(scene->GetNthNode(2));
  auto* b2 = vtkKOVATestNode::SafeDownCast(scene->GetNthNode(3));
  ASSERT_NE(a2, nullptr);
  ASSERT_NE(b2, nullptr);
  EXPECT_STRNE(a2->GetID(), a->GetID());
  EXPECT_EQ(a2->GetNodeReference("weird role: x;y"), b2);
  EXPECT_EQ(a->GetNodeReference("weird role: x;y"), b);
}

TEST(vtkKOVANode, CopyAndReset)
{
  auto scene = NewTestScene();
  vtkKOVATestNode* node = AddTestNode(scene, "view");
  node->SetValue("own");
  vtkNew<vtkKOVATestNode> source;
  source->SetName("source");
  source->SetValue("copied");
  source->SetHideFromEditors(true);

  vtkKOVATestEventRecorder modified(node, vtkCommand::ModifiedEvent);
  const std::string id = node->GetID();
  node->Reset(source);
  EXPECT_EQ(node->GetValue(), "copied");
  EXPECT_STREQ(node->GetName(), "view");
  EXPECT_FALSE(node->GetHideFromEditors());
  EXPECT_EQ(id, node->GetID());
  EXPECT_EQ(modified.Count(), 1);

  node->Reset(nullptr);
  EXPECT_EQ(node->GetValue(), "");
  EXPECT_STREQ(node->GetName(), "view");

  node->Copy(source);
  EXPECT_EQ(node->GetValue(), "copied");
  EXPECT_STREQ(node->GetName(), "source");
  EXPECT_TRUE(node->GetHideFromEditors());
  EXPECT_EQ(id, node->GetID());

  // A class without its own CopyContent is reset through Copy, keeping its identity.
  vtkNew<vtkKOVATestSubNode> sub;
  sub->SetName("sub");
  scene->AddNode(sub);
  EXPECT_FALSE(sub->HasCopyContent());
  EXPECT_TRUE(node->HasCopyContent());
  vtkNew<vtkKOVATestSubNode> subDefault;
  subDefault->SetValue("default");
  subDefault->SetName("default name");
  sub->Reset(subDefault);
  EXPECT_EQ(sub->GetValue(), "default");
  EXPECT_STREQ(sub->GetName(), "sub");
}

#include <vtkKOVAI18N.h>

namespace
{
class TestTranslator : public vtkKOVATranslator
{
public:
  static TestTranslator* New() { VTK_STANDARD_NEW_BODY(TestTranslator); }
  vtkTypeMacro(TestTranslator, vtkKOVATranslator);
  std::string Translate(const char* context, const char* sourceText, const char*, int) override
  {
    if (std::string(context) == "vtkKOVATextNode" && std::string(sourceText) == "Text")
    {
      return "Texte";
    }
    return std::string();
  }
};
}

TEST(vtkKOVAI18N, TranslateReturnsSourceTextWithoutCatalogue)
{
  EXPECT_EQ(vtkKOVAI18N::Translate("vtkKOVATextNode", "Text"), "Text");
  EXPECT_EQ(vtkKOVAI18N::Translate("ctx", "Test Line", nullptr, -1), "Test Line");
  EXPECT_EQ(vtkKOVAI18N::Translate("ctx", nullptr), "");

  vtkNew<TestTranslator> translator;
  vtkKOVAI18N::GetInstance()->SetTranslator(translator);
  EXPECT_EQ(vtkKOVAI18N::Translate("vtkKOVATextNode", "Text"), "Texte");
  EXPECT_EQ(vtkKOVAI18N::Translate("other", "Text"), "Text");
  vtkKOVAI18N::GetInstance()->SetTranslator(nullptr);
  EXPECT_EQ(vtkKOVAI18N::Translate("vtkKOVATextNode", "Text"), "Text");
}
