#include <vtkVireonTablesLogic.h>

#include <vtkKOVAMessageCollection.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATableNode.h>
#include <vtkKOVATableSQLiteStorageNode.h>
#include <vtkKOVATableStorageNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestFiles.h>
#include <vtkKOVATestSQLite.h>

#include <vtkAbstractArray.h>
#include <vtkCommand.h>
#include <vtkNew.h>
#include <vtkTable.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class vtkVireonTablesLogicTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    this->Logic->SetKOVAScene(this->Scene);
    this->InitialNodes = this->Scene->GetNumberOfNodes();
  }

  /// The scene's nodes after the initial ones, as "class:name" texts.
  std::vector<std::string> AddedNodes()
  {
    std::vector<std::string> nodes;
    for (int i = this->InitialNodes; i < this->Scene->GetNumberOfNodes(); ++i)
    {
      vtkKOVANode* node = this->Scene->GetNthNode(i);
      nodes.push_back(std::string(node->GetClassName()) + ":" + node->GetName());
    }
    return nodes;
  }

  /// Error messages (without the object's description) captured so far.
  static std::vector<std::string> Messages(const vtkKOVATestErrorCapture& errors)
  {
    return errors.GetErrorMessages();
  }

  vtkNew<vtkKOVAScene> Scene;
  vtkNew<vtkVireonTablesLogic> Logic;
  vtkKOVATestTemporaryDirectory Folder;
  int InitialNodes = 0;
};

std::vector<std::string> ColumnNames(vtkKOVATableNode* node)
{
  std::vector<std::string> names;
  for (int c = 0; c < node->GetNumberOfColumns(); ++c)
  {
    names.push_back(node->GetColumnName(c));
  }
  return names;
}

/// A database with the three tables "gamma", "alpha" and "beta", created in that order.
bool CreateThreeTableDatabase(const std::string& path)
{
  return vtkKOVATestSQLite::CreateDatabase(path,
    { "CREATE TABLE gamma (g INTEGER, label TEXT)",
      "INSERT INTO gamma VALUES (1, 'one'), (2, 'two'), (3, 'three')",
      "CREATE TABLE alpha (a REAL)",
      "INSERT INTO alpha VALUES (0.5)",
      "CREATE TABLE beta (b TEXT)" });
}
}

TEST_F(vtkVireonTablesLogicTest, InvalidArgumentsAddNothing)
{
  const std::string noExtension = this->Folder.Write("noextension", "a\n1\n");
  vtkKOVATestErrorCapture errors;
  vtkNew<vtkVireonTablesLogic> sceneless;
  EXPECT_EQ(sceneless->AddTable(noExtension.c_str()), nullptr);
  EXPECT_EQ(this->Logic->AddTable(nullptr), nullptr);
  EXPECT_EQ(this->Logic->AddTable(noExtension.c_str()), nullptr);
  EXPECT_EQ(this->Logic->AddTable("dir.with.dots/plain"), nullptr);
  EXPECT_EQ(Messages(errors),
    (std::vector<std::string>{ "vtkVireonTablesLogic::AddTable failed: scene is invalid",
      "vtkVireonTablesLogic::AddTable failed: fileName is invalid",
      "AddTable: no file extension specified: " + noExtension,
      "AddTable: no file extension specified: dir.with.dots/plain" }));
  EXPECT_TRUE(this->AddedNodes().empty());
}

TEST_F(vtkVireonTablesLogicTest, TextTableIsReadIntoANamedNode)
{
  // The extension is compared in lower case.
  const std::string path = this->Folder.Write("data.CSV", "id,name\n1,\"a, b\"\n2,c\n");
  vtkKOVATestErrorCapture errors;
  vtkKOVATableNode* node = this->Logic->AddTable(path.c_str(), "Measurements", true);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
  EXPECT_EQ(this->AddedNodes(),
    (std::vector<std::string>{
      "vtkKOVATableStorageNode:TableStorage", "vtkKOVATableNode:Measurements" }));
  EXPECT_TRUE(this->Scene->IsNodePresent(node));
  EXPECT_EQ(node->GetReferenceCount(), 1); // only the scene holds it
  EXPECT_TRUE(node->GetNodeReferenceRoles().empty());
  EXPECT_EQ(ColumnNames(node), (std::vector<std::string>{ "id", "name" }));
  EXPECT_STREQ(node->GetTable()->GetColumn(0)->GetClassName(), "vtkIntArray");
  EXPECT_EQ(node->GetCellText(0, 1), "a, b");

  auto* storage = vtkKOVATableStorageNode::SafeDownCast(
    this->Scene->GetFirstNodeByClass("vtkKOVATableStorageNode"));
  ASSERT_NE(storage, nullptr);
  EXPECT_EQ(storage->GetReferenceCount(), 1);
  EXPECT_STREQ(storage->GetFileName(), path.c_str());
  EXPECT_TRUE(storage->GetDetectColumnTypes());
  EXPECT_GT(storage->GetStoredTime(), 0u); // read as a file of its own, not a temporary one

  // The option goes to the storage node: off keeps every column as text. Without a name (null
  // or empty) the scene names the node.
  vtkKOVATableNode* text = this->Logic->AddTable(path.c_str(), nullptr, false);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text->GetName(), "Table");
  EXPECT_STREQ(text->GetTable()->GetColumn(0)->GetClassName(), "vtkStringArray");
  std::vector<vtkKOVANode*> storageNodes;
  this->Scene->GetNodesByClass("vtkKOVATableStorageNode", storageNodes);
  ASSERT_EQ(storageNodes.size(), 2u);
  EXPECT_FALSE(vtkKOVATableStorageNode::SafeDownCast(storageNodes[1])->GetDetectColumnTypes());
  vtkKOVATableNode* unnamed = this->Logic->AddTable(path.c_str(), "");
  ASSERT_NE(unnamed, nullptr);
  EXPECT_STREQ(unnamed->GetName(), "Table_1");

  // Tab-separated files.
  const std::string tsv = this->Folder.Write("t.tsv", "x\ty\n1\t2\n");
  vtkKOVATableNode* tabbed = this->Logic->AddTable(tsv.c_str(), "Tabbed");
  ASSERT_NE(tabbed, nullptr);
  EXPECT_EQ(ColumnNames(tabbed), (std::vector<std::string>{ "x", "y" }));
}

TEST_F(vtkVireonTablesLogicTest, TextTableMessagesReachTheCollectionOnSuccess)
{
  const std::string path = this->Folder.Write("short.csv", "a,b\n1\n");
  vtkNew<vtkKOVAMessageCollection> messages;
  messages->AddMessage(vtkCommand::MessageEvent, "earlier");
  ASSERT_NE(this->Logic->AddTable(path.c_str(), "Short", true, nullptr, messages), nullptr);
  ASSERT_EQ(messages->GetNumberOfMessages(), 2);
  EXPECT_EQ(messages->GetNthMessageText(0), "earlier");
  EXPECT_EQ(messages->GetNthMessageType(1), vtkCommand::WarningEvent);
  EXPECT_EQ(messages->GetNthMessageText(1).rfind("Table file " + path + ": 1 row(s)", 0), 0u)
    << messages->GetNthMessageText(1); // appended with an empty prefix
}

TEST_F(vtkVireonTablesLogicTest, FailingTextTableLeavesNoNode)
{
  const std::string cases[] = {
    this->Folder.File("missing.csv"),
    this->Folder.Write("wide.csv", "a,b\n1,2,3\n"),
    this->Folder.Write("empty.tsv", ""),
    this->Folder.Write("open.txt", "a\n\"never closed\n"),
    this->Folder.Write("binary.sqlite4", std::string("SQLite format 3\0\x10\0", 19)),
  };
  for (const std::string& path : cases)
  {
    vtkKOVATestErrorCapture errors;
    vtkNew<vtkKOVAMessageCollection> messages;
    EXPECT_EQ(this->Logic->AddTable(path.c_str(), "Lost", true, nullptr, messages), nullptr);
    EXPECT_EQ(Messages(errors),
      (std::vector<std::string>{
        "vtkVireonTablesLogic::AddTable failed: failed to read data from file: " + path }));
    EXPECT_TRUE(this->AddedNodes().empty()) << path;
    ASSERT_EQ(messages->GetNumberOfMessages(), 1) << path;
    EXPECT_EQ(messages->GetNthMessageType(0), vtkCommand::ErrorEvent);
    EXPECT_EQ(messages->GetNthMessageText(0).rfind("Cannot read table file " + path, 0), 0u)
      << messages->GetNthMessageText(0);

    // Without a collection the messages are dropped, and the result is the same.
    EXPECT_EQ(this->Logic->AddTable(path.c_str()), nullptr);
    EXPECT_TRUE(this->AddedNodes().empty()) << path;
  }
}

TEST_F(vtkVireonTablesLogicTest, DatabaseAddsEveryTable)
{
  // The extension is compared in lower case; the table-name argument is not used.
  const std::string path = this->Folder.File("data.SQLITE");
  ASSERT_TRUE(CreateThreeTableDatabase(path));
  vtkNew<vtkKOVAMessageCollection> messages;
  vtkKOVATestErrorCapture errors;
  vtkKOVATableNode* last = this->Logic->AddTable(path.c_str(), "ignored", true, nullptr, messages);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
  EXPECT_EQ(messages->GetNumberOfMessages(), 0);

  // The database lists its tables by name.
  EXPECT_EQ(this->AddedNodes(),
    (std::vector<std::string>{ "vtkKOVATableSQLiteStorageNode:TableSQLiteStorage",
      "vtkKOVATableNode:alpha",
      "vtkKOVATableSQLiteStorageNode:TableSQLiteStorage_1",
      "vtkKOVATableNode:beta",
      "vtkKOVATableSQLiteStorageNode:TableSQLiteStorage_2",
      "vtkKOVATableNode:gamma" }));
  EXPECT_STREQ(last->GetName(), "gamma");
  EXPECT_EQ(last->GetReferenceCount(), 1);
  EXPECT_EQ(ColumnNames(last), (std::vector<std::string>{ "g", "label" }));
  EXPECT_EQ(last->GetNumberOfRows(), 3);
  EXPECT_EQ(last->GetCellText(2, 1), "three");
  EXPECT_TRUE(last->GetNodeReferenceRoles().empty());

  std::vector<vtkKOVANode*> storageNodes;
  this->Scene->GetNodesByClass("vtkKOVATableSQLiteStorageNode", storageNodes);
  ASSERT_EQ(storageNodes.size(), 3u);
  const char* tableNames[] = { "alpha", "beta", "gamma" };
  for (size_t i = 0; i < 3; ++i)
  {
    auto* storage = vtkKOVATableSQLiteStorageNode::SafeDownCast(storageNodes[i]);
    EXPECT_STREQ(storage->GetFileName(), path.c_str());
    EXPECT_STREQ(storage->GetTableName(), tableNames[i]);
    EXPECT_GT(storage->GetStoredTime(), 0u);
  }
  auto* alpha = vtkKOVATableNode::SafeDownCast(this->Scene->GetFirstNodeByName("alpha"));
  ASSERT_NE(alpha, nullptr);
  EXPECT_STREQ(alpha->GetTable()->GetColumn(0)->GetClassName(), "vtkDoubleArray");
}

TEST_F(vtkVireonTablesLogicTest, DatabaseExtensions)
{
  for (const char* name : { "a.db", "b.DB3", "c.sqlite", "d.Sqlite3" })
  {
    const std::string path = this->Folder.File(name);
    ASSERT_TRUE(vtkKOVATestSQLite::CreateDatabase(path, { "CREATE TABLE only (v INTEGER)" }));
    vtkKOVATableNode* node = this->Logic->AddTable(path.c_str(), nullptr, true, "unused");
    ASSERT_NE(node, nullptr) << name;
    EXPECT_STREQ(node->GetName(), "only");
  }
  EXPECT_EQ(this->Scene->GetNumberOfNodesByClass("vtkKOVATableSQLiteStorageNode"), 4);
  EXPECT_EQ(this->Scene->GetNumberOfNodesByClass("vtkKOVATableStorageNode"), 0);
}

TEST_F(vtkVireonTablesLogicTest, DatabaseWithoutTablesAddsNothing)
{
  const std::string dropped = this->Folder.File("dropped.db");
  ASSERT_TRUE(
    vtkKOVATestSQLite::CreateDatabase(dropped, { "CREATE TABLE t (a INTEGER)", "DROP TABLE t" }));
  // SQLite takes an empty file for an empty database.
  const std::string zeroLength = this->Folder.Write("zero.sqlite", "");
  for (const std::string& path : { dropped, zeroLength })
  {
    vtkKOVATestErrorCapture errors;
    vtkNew<vtkKOVAMessageCollection> messages;
    EXPECT_EQ(this->Logic->AddTable(path.c_str(), nullptr, true, nullptr, messages), nullptr);
    EXPECT_TRUE(this->AddedNodes().empty()) << path;
    EXPECT_EQ(errors.GetNumberOfErrors(), 0) << path;
    EXPECT_EQ(messages->GetNumberOfMessages(), 0);
  }
}

TEST_F(vtkVireonTablesLogicTest, UnreadableDatabaseFileAddsNothing)
{
  const std::string cases[] = {
    this->Folder.File("missing.db"),
    this->Folder.Write("text.db3", "name,value\nthis is not a database,1\n"),
  };
  for (const std::string& path : cases)
  {
    vtkKOVATestErrorCapture errors;
    vtkNew<vtkKOVAMessageCollection> messages;
    EXPECT_EQ(this->Logic->AddTable(path.c_str(), nullptr, true, nullptr, messages), nullptr);
    EXPECT_TRUE(this->AddedNodes().empty()) << path;
    // The SQL module reports its own errors too; the logic's is the last one.
    ASSERT_GE(errors.GetNumberOfErrors(), 1) << path;
    EXPECT_EQ(Messages(errors).back(), "Failed to read tables from " + path);
    EXPECT_EQ(messages->GetNumberOfMessages(), 0);
  }
}

TEST_F(vtkVireonTablesLogicTest, FailingDatabaseTableKeepsTheTablesBeforeIt)
{
  // "zbroken" is listed last; its generated column names a function SQLite does not know.
  const std::string path = this->Folder.File("partly.db");
  ASSERT_TRUE(vtkKOVATestSQLite::CreateDatabase(path,
    { "CREATE TABLE alpha (a INTEGER)",
      "INSERT INTO alpha VALUES (1)",
      "CREATE TABLE beta (b TEXT)",
      "CREATE TABLE zbroken (a INTEGER, b INTEGER AS (a + 1))",
      "PRAGMA writable_schema=ON",
      "UPDATE sqlite_master SET sql='CREATE TABLE zbroken (a INTEGER, b INTEGER AS "
      "(nosuchfunction(a)))' WHERE name='zbroken'" }));
  vtkNew<vtkKOVAMessageCollection> messages;
  vtkKOVATestErrorCapture errors;
  EXPECT_EQ(this->Logic->AddTable(path.c_str(), nullptr, true, nullptr, messages), nullptr);
  EXPECT_EQ(this->AddedNodes(),
    (std::vector<std::string>{ "vtkKOVATableSQLiteStorageNode:TableSQLiteStorage",
      "vtkKOVATableNode:alpha",
      "vtkKOVATableSQLiteStorageNode:TableSQLiteStorage_1",
      "vtkKOVATableNode:beta" }));
  EXPECT_EQ(Messages(errors).back(), "Failed to read tables from " + path);
  // Only the failing table's storage node messages, without a prefix.
  ASSERT_EQ(messages->GetNumberOfMessages(), 1);
  EXPECT_EQ(messages->GetNthMessageType(0), vtkCommand::ErrorEvent);
  const std::string text = messages->GetNthMessageText(0);
  EXPECT_EQ(text.rfind("Cannot read table zbroken from database file " + path, 0), 0u) << text;
  EXPECT_NE(text.find("nosuchfunction"), std::string::npos) << text;
}

TEST(vtkVireonTablesLogic, LayoutWithTable)
{
  const std::pair<int, int> cases[] = {
    { 4, 35 },
    { 34, 34 },
    { 35, 35 },
    { 38, 38 },
    { 36, 38 },
    { 37, 38 },
    { 39, 38 },
    { 40, 38 },
    { 1, 34 },
    { 0, 34 },
    { 2, 34 },
    { 33, 34 },
    { 41, 34 },
    { -1, 34 },
  };
  for (const auto& c : cases)
  {
    EXPECT_EQ(vtkVireonTablesLogic::GetLayoutWithTable(c.first), c.second) << c.first;
  }
}
