// The texts plug-in registered with the plug-in handler, as the texts module does, over a scene
// with text, model, volume and dynamic modeler nodes.
#include <qVireonSubjectHierarchyPluginHandler.h>
#include <qVireonSubjectHierarchyTextsPlugin.h>
#include <qVireonTestMessageCapture.h>

#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVATextNode.h>

#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <QIcon>
#include <QImage>
#include <QMetaObject>
#include <QPixmap>

#include <gtest/gtest.h>

namespace
{
::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new qVireonTestApplicationEnvironment);

/// A node class derived from the text node.
class vtkTestRichTextNode : public vtkKOVATextNode
{
public:
  static vtkTestRichTextNode* New() { VTK_STANDARD_NEW_BODY(vtkTestRichTextNode); }
  vtkTypeMacro(vtkTestRichTextNode, vtkKOVATextNode);
  vtkKOVANode* CreateNodeInstance() override { return vtkTestRichTextNode::New(); }
  const char* GetNodeTagName() override { return "RichText"; }
};

const vtkIdType Invalid = vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID;
const char* const Signature = "qVireonSubjectHierarchyTextsPlugin::";

class TextsPluginTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    this->Handler = qVireonSubjectHierarchyPluginHandler::instance();
    this->Handler->setKOVAScene(this->Scene);
    this->SH = this->Handler->subjectHierarchyNode();
    this->Plugin = new qVireonSubjectHierarchyTextsPlugin;
    ASSERT_TRUE(this->Handler->registerPlugin(this->Plugin));

    this->Text =
      vtkKOVATextNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVATextNode", "Notes"));
    this->Model = this->Scene->AddNewNodeByClass("vtkKOVAModelNode", "Bone");
    this->Volume = this->Scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "CT");
    this->Scene->AddNode(this->Modeler);
    this->Scene->AddNode(this->RichText);
  }
  void TearDown() override { qVireonSubjectHierarchyPluginHandler::cleanup(); }
  vtkIdType item(vtkKOVANode* node) { return this->SH->GetItemByDataNode(node); }

  vtkNew<vtkKOVAScene> Scene;
  qVireonSubjectHierarchyPluginHandler* Handler = nullptr;
  vtkKOVASubjectHierarchyNode* SH = nullptr;
  qVireonSubjectHierarchyTextsPlugin* Plugin = nullptr;
  vtkKOVATextNode* Text = nullptr;
  vtkKOVANode* Model = nullptr;
  vtkKOVANode* Volume = nullptr;
  vtkNew<vtkKOVADynamicModelerNode> Modeler;
  vtkNew<vtkTestRichTextNode> RichText;
};

QImage imageOf(const QIcon& icon)
{
  return icon.pixmap(21, 21).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
}

TEST_F(TextsPluginTest, NameRoleAndOwnership)
{
  EXPECT_EQ(this->Plugin->name(), "Texts");
  EXPECT_EQ(this->Handler->pluginByName("Texts"), this->Plugin);
  EXPECT_EQ(this->Plugin->roleForPlugin(), "Text");
  QString role;
  ASSERT_TRUE(
    QMetaObject::invokeMethod(this->Plugin, "roleForPlugin", Q_RETURN_ARG(QString, role)));
  EXPECT_EQ(role, "Text");

  qVireonTestMessageCapture messages;
  struct Row
  {
    vtkKOVANode* Node;
    double Confidence;
  };
  const Row rows[] = {
    { this->Text, 0.5 },
    { this->RichText, 0.5 },
    { this->Model, 0.0 },
    { this->Volume, 0.0 },
    { this->Modeler, 0.0 },
  };
  for (const Row& row : rows)
  {
    SCOPED_TRACE(row.Node->GetClassName());
    EXPECT_DOUBLE_EQ(this->Plugin->canAddNodeToSubjectHierarchy(row.Node, Invalid), row.Confidence);
    EXPECT_DOUBLE_EQ(this->Plugin->canOwnSubjectHierarchyItem(item(row.Node)), row.Confidence);
    EXPECT_EQ(this->Handler->findOwnerPluginForSubjectHierarchyItem(item(row.Node)),
      row.Confidence > 0.0 ? this->Plugin : nullptr);
  }
  // The parent item plays no part, and folders have no node.
  EXPECT_DOUBLE_EQ(this->Plugin->canAddNodeToSubjectHierarchy(this->Text, 987654), 0.5);
  const vtkIdType folder = this->SH->CreateFolderItem(Invalid, "Study");
  EXPECT_DOUBLE_EQ(this->Plugin->canOwnSubjectHierarchyItem(folder), 0.0);
  EXPECT_TRUE(messages.criticals().isEmpty());

  EXPECT_DOUBLE_EQ(this->Plugin->canAddNodeToSubjectHierarchy(nullptr, Invalid), 0.0);
  EXPECT_DOUBLE_EQ(this->Plugin->canOwnSubjectHierarchyItem(Invalid), 0.0);
  this->Handler->setKOVAScene(nullptr);
  EXPECT_DOUBLE_EQ(this->Plugin->canOwnSubjectHierarchyItem(item(this->Text)), 0.0);
  ASSERT_EQ(messages.criticals().size(), 3);
  EXPECT_TRUE(
    messages.criticals()[0].contains(QString(Signature) + "canAddNodeToSubjectHierarchy("));
  EXPECT_TRUE(messages.criticals()[0].endsWith(") const: Input node is nullptr!"));
  EXPECT_TRUE(messages.criticals()[1].contains(QString(Signature) + "canOwnSubjectHierarchyItem("));
  EXPECT_TRUE(messages.criticals()[1].endsWith(": Invalid input item"));
  EXPECT_TRUE(messages.criticals()[2].endsWith(": Failed to access subject hierarchy node"));
}

TEST_F(TextsPluginTest, TextItemsShowTheCompiledInIcon)
{
  const QImage resource(":Icons/Text.png");
  ASSERT_FALSE(resource.isNull());
  EXPECT_EQ(resource.size(), QSize(21, 21));
  EXPECT_TRUE(resource.hasAlphaChannel());
  EXPECT_EQ(QImage(":/Icons/Text.png"), resource);

  qVireonTestMessageCapture messages;
  // Through the owner, as the tree asks for it.
  qVireonSubjectHierarchyAbstractPlugin* owner =
    this->Handler->findOwnerPluginForSubjectHierarchyItem(item(this->Text));
  ASSERT_EQ(owner, this->Plugin);
  const QIcon icon = owner->icon(item(this->Text));
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(imageOf(icon), resource.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  EXPECT_FALSE(this->Plugin->icon(item(this->RichText)).isNull());

  EXPECT_TRUE(this->Plugin->icon(item(this->Model)).isNull());
  EXPECT_TRUE(this->Plugin->icon(item(this->Modeler)).isNull());
  EXPECT_TRUE(messages.criticals().isEmpty());

  EXPECT_TRUE(this->Plugin->icon(Invalid).isNull());
  ASSERT_EQ(messages.criticals().size(), 1);
  EXPECT_TRUE(messages.criticals()[0].contains(QString(Signature) + "icon("));
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Invalid input item"));
}

TEST_F(TextsPluginTest, ToolTipAddsEncodingAndTheWholeText)
{
  qVireonSubjectHierarchyAbstractPlugin base;
  const QString longLine(5000, QChar('x'));
  this->Text->SetText(
    QString("first line\nsecond line\n%1").arg(longLine).toStdString(), VTK_ENCODING_UTF_8);
  const QString tooltip = this->Plugin->tooltip(item(this->Text));
  EXPECT_EQ(tooltip,
    base.tooltip(item(this->Text)) + " (Encoding: UTF-8)\nfirst line\nsecond line\n" + longLine);
  EXPECT_EQ(tooltip.split('\n').size(), 4);

  // Non-ASCII text arrives as UTF-8.
  this->Text->SetText("Schädel \xE2\x9C\x93", VTK_ENCODING_US_ASCII);
  EXPECT_TRUE(this->Plugin->tooltip(item(this->Text))
                .endsWith(QString::fromUtf8(" (Encoding: US-ASCII)\nSchädel \xE2\x9C\x93")));

  // Text in an ISO-8859 part is decoded by it.
  const struct
  {
    const char* Bytes;
    int Encoding;
    const char* Name;
    const char* Utf8;
  } encoded[] = {
    { "Caf\xe9 cr\xe8me", VTK_ENCODING_ISO_8859_1, "ISO-8859-1", u8"Caf\u00e9 cr\u00e8me" },
    { "\xbf\xf3\xb3w", VTK_ENCODING_ISO_8859_2, "ISO-8859-2", u8"\u017c\u00f3\u0142w" },
    { "5\xa4", VTK_ENCODING_ISO_8859_15, "ISO-8859-15", u8"5\u20ac" },
  };
  for (const auto& text : encoded)
  {
    SCOPED_TRACE(text.Name);
    this->Text->SetText(text.Bytes, text.Encoding);
    EXPECT_EQ(this->Plugin->tooltip(item(this->Text)),
      base.tooltip(item(this->Text)) + " (Encoding: " + text.Name + ")\n" +
        QString::fromUtf8(text.Utf8));
  }

  qVireonTestMessageCapture messages;
  EXPECT_EQ(this->Plugin->tooltip(item(this->Model)), base.tooltip(item(this->Model)));
  EXPECT_EQ(this->Plugin->tooltip(item(this->Model)), "Bone (vtkKOVAModelNode)");
  EXPECT_TRUE(messages.criticals().isEmpty());

  EXPECT_EQ(this->Plugin->tooltip(Invalid), "Invalid!");
  this->Handler->setKOVAScene(nullptr);
  EXPECT_EQ(this->Plugin->tooltip(item(this->Text)), "Error!");
  ASSERT_EQ(messages.criticals().size(), 2);
  EXPECT_TRUE(messages.criticals()[0].contains(QString(Signature) + "tooltip("));
  EXPECT_TRUE(messages.criticals()[0].endsWith(": Invalid input item"));
  EXPECT_TRUE(messages.criticals()[1].endsWith(": Failed to access subject hierarchy node"));
}

TEST_F(TextsPluginTest, EverythingElseIsTheBasePlugins)
{
  EXPECT_TRUE(this->Plugin->itemContextMenuActions().isEmpty());
  EXPECT_TRUE(this->Plugin->visibilityContextMenuActions().isEmpty());
  EXPECT_TRUE(this->Handler->itemContextMenuActionsForItem(item(this->Text)).isEmpty());
  EXPECT_EQ(this->Plugin->displayedItemName(item(this->Text)), "Notes");
  // Declared in the class's own meta-object: the role only.
  const QMetaObject* meta = this->Plugin->metaObject();
  EXPECT_STREQ(meta->className(), "qVireonSubjectHierarchyTextsPlugin");
  EXPECT_EQ(meta->methodCount() - meta->methodOffset(), 1);
  EXPECT_EQ(meta->propertyCount() - meta->propertyOffset(), 0);
}
