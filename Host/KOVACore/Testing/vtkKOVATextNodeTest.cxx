#include <vtkKOVAScene.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVATextNode.h>

#include <vtkCommand.h>
#include <vtkNew.h>

#include <gtest/gtest.h>

TEST(vtkKOVATextNode, TextModifiedEventOncePerChange)
{
  vtkNew<vtkKOVATextNode> node;
  vtkKOVATestEventRecorder textModified(node, 51000);
  vtkKOVATestEventRecorder modified(node, vtkCommand::ModifiedEvent);
  EXPECT_EQ(node->GetEncoding(), VTK_ENCODING_UTF_8);

  node->SetText("hello", VTK_ENCODING_UTF_8);
  EXPECT_EQ(node->GetText(), "hello");
  EXPECT_EQ(textModified.Count(), 1);
  EXPECT_EQ(modified.Count(), 1);

  node->SetText("hello", VTK_ENCODING_UTF_8);
  EXPECT_EQ(textModified.Count(), 1);
  EXPECT_EQ(modified.Count(), 1);

  // Only the encoding changes: a modification, no text event.
  node->SetText("hello", VTK_ENCODING_US_ASCII);
  EXPECT_EQ(textModified.Count(), 1);
  EXPECT_EQ(modified.Count(), 2);

  // Text and encoding together: one of each.
  node->SetText("bye", VTK_ENCODING_UTF_8);
  EXPECT_EQ(textModified.Count(), 2);
  EXPECT_EQ(modified.Count(), 3);

  // -1 keeps the encoding.
  node->SetText("again");
  EXPECT_EQ(node->GetEncoding(), VTK_ENCODING_UTF_8);
}

TEST(vtkKOVATextNode, InvalidEncodingChangesNothing)
{
  vtkNew<vtkKOVATextNode> node;
  node->SetText("kept", VTK_ENCODING_UTF_8);
  vtkKOVATestEventRecorder textModified(node, vtkKOVATextNode::TextModifiedEvent);
  vtkKOVATestErrorCapture errors;
  node->SetText("lost?", 99);
  node->SetEncoding(-5);
  EXPECT_EQ(node->GetText(), "kept");
  EXPECT_EQ(node->GetEncoding(), VTK_ENCODING_UTF_8);
  EXPECT_EQ(textModified.Count(), 0);
  ASSERT_EQ(errors.GetNumberOfErrors(), 2);
  EXPECT_EQ(
    vtkKOVATestErrorCapture::MessageOf(errors.GetErrors()[0]), "SetText: invalid encoding 99");
}

TEST(vtkKOVATextNode, EncodingNames)
{
  const std::pair<int, const char*> cases[] = {
    { VTK_ENCODING_NONE, "None" },
    { VTK_ENCODING_US_ASCII, "US-ASCII" },
    { VTK_ENCODING_UNICODE, "Unicode" },
    { VTK_ENCODING_UTF_8, "UTF-8" },
    { VTK_ENCODING_ISO_8859_1, "ISO-8859-1" },
    { VTK_ENCODING_ISO_8859_16, "ISO-8859-16" },
    { VTK_ENCODING_UNKNOWN, "Unknown" },
  };
  vtkNew<vtkKOVATextNode> node;
  for (const auto& c : cases)
  {
    node->SetEncoding(c.first);
    EXPECT_EQ(node->GetEncodingAsString(), c.second);
  }
}

TEST(vtkKOVATextNode, SceneFileRoundTripAndCopy)
{
  vtkNew<vtkKOVAScene> scene;
  auto* node = vtkKOVATextNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVATextNode", "Notes"));
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->GetTypeDisplayName(), "Text");
  const std::string text = "<b>bold</b> & \"quoted\"\n\tnext line 100%";
  node->SetText(text, VTK_ENCODING_ISO_8859_1);

  vtkNew<vtkKOVAScene> readScene;
  ASSERT_TRUE(readScene->ReadFromXMLString(scene->WriteToXMLString()));
  auto* readNode = vtkKOVATextNode::SafeDownCast(readScene->GetFirstNodeByName("Notes"));
  ASSERT_NE(readNode, nullptr);
  EXPECT_EQ(readNode->GetText(), text);
  EXPECT_EQ(readNode->GetEncoding(), VTK_ENCODING_ISO_8859_1);

  vtkNew<vtkKOVATextNode> copy;
  vtkKOVATestEventRecorder textModified(copy, vtkKOVATextNode::TextModifiedEvent);
  vtkKOVATestEventRecorder modified(copy, vtkCommand::ModifiedEvent);
  copy->Copy(node);
  EXPECT_EQ(copy->GetText(), text);
  EXPECT_EQ(copy->GetEncoding(), VTK_ENCODING_ISO_8859_1);
  EXPECT_STREQ(copy->GetName(), "Notes");
  EXPECT_EQ(textModified.Count(), 1);
  EXPECT_EQ(modified.Count(), 1);
}
