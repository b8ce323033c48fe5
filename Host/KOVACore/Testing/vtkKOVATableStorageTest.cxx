#include <vtkKOVAMessageCollection.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATableNode.h>
#include <vtkKOVATableSQLiteStorageNode.h>
#include <vtkKOVATableStorageNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestFiles.h>
#include <vtkKOVATestSQLite.h>
#include <vtkKOVATextNode.h>

#include <vtkAbstractArray.h>
#include <vtkCommand.h>
#include <vtkDoubleArray.h>
#include <vtkIntArray.h>
#include <vtkLongLongArray.h>
#include <vtkNew.h>
#include <vtkStringArray.h>
#include <vtkTable.h>
#include <vtkVariant.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
/// Column \a c of the node's table as texts (GetCellText), for comparing whole columns.
std::vector<std::string> ColumnTexts(vtkKOVATableNode* node, int c)
{
  std::vector<std::string> texts;
  for (int r = 0; r < node->GetNumberOfRows(); ++r)
  {
    texts.push_back(node->GetCellText(r, c));
  }
  return texts;
}

std::string ColumnClass(vtkKOVATableNode* node, int c)
{
  vtkAbstractArray* column = node->GetTable()->GetColumn(c);
  return column ? column->GetClassName() : "(none)";
}

/// Reads \a path with a text table storage node into a new node.
struct TextRead
{
  TextRead(const std::string& path, bool detect)
  {
    Storage->SetFileName(path.c_str());
    Storage->SetDetectColumnTypes(detect);
    Result = Storage->ReadData(Node);
  }
  vtkNew<vtkKOVATableStorageNode> Storage;
  vtkNew<vtkKOVATableNode> Node;
  int Result = 0;
};
}

TEST(vtkKOVAStorageNode, LowercaseExtension)
{
  const std::pair<const char*, const char*> cases[] = {
    { "data.csv", ".csv" },
    { "DATA.CSV", ".csv" },
    { "/some/dir.d/archive.Tables.SQLite3", ".sqlite3" },
    { "dir.with.dots/noextension", "" },
    { "noextension", "" },
    { "", "" },
    { "C:/x/y.Db", ".db" },
  };
  for (const auto& c : cases)
  {
    EXPECT_EQ(vtkKOVAStorageNode::GetLowercaseExtensionFromFileName(c.first), c.second) << c.first;
  }
}

TEST(vtkKOVAStorageNode, ReadDataChecksNodeAndFileName)
{
  vtkKOVATestTemporaryDirectory folder;
  const std::string path = folder.Write("t.csv", "a\n1\n");
  vtkNew<vtkKOVATableStorageNode> storage;
  vtkNew<vtkKOVATableNode> table;
  vtkNew<vtkKOVATextNode> text;

  EXPECT_EQ(storage->ReadData(table), 0); // no file name yet
  EXPECT_EQ(storage->GetUserMessages()->GetNumberOfMessagesOfType(vtkCommand::ErrorEvent), 1);
  storage->SetFileName(path.c_str());
  EXPECT_EQ(storage->ReadData(nullptr), 0);
  EXPECT_EQ(storage->ReadData(text), 0);
  EXPECT_EQ(storage->GetUserMessages()->GetNumberOfMessages(), 1); // cleared per read
  EXPECT_FALSE(storage->CanReadInReferenceNode(text));

  // A temporary file fills the node without marking it as stored.
  EXPECT_EQ(storage->GetStoredTime(), 0u);
  ASSERT_EQ(storage->ReadData(table, true), 1);
  EXPECT_EQ(storage->GetUserMessages()->GetNumberOfMessages(), 0);
  EXPECT_EQ(table->GetNumberOfRows(), 1);
  EXPECT_EQ(storage->GetStoredTime(), 0u);
  ASSERT_EQ(storage->ReadData(table), 1);
  EXPECT_GT(storage->GetStoredTime(), 0u);
}

TEST(vtkKOVATableStorageNode, QuotedFieldsUtf8AndEmptyCells)
{
  vtkKOVATestTemporaryDirectory folder;
  // CRLF and LF line ends mixed; a quoted field spans two lines with its own CRLF.
  const std::string path = folder.Write("mixed.csv",
    "id,value,label,notes,empty\r\n"
    "1,2.5,\"a, b\",\"line one\r\nline two\",\r\n"
    "2,-3e2,\"He said \"\"hi\"\"\",C:\\path\\file,\n"
    "3,.5,na\xC3\xAFve caf\xC3\xA9,\"\",\n");

  TextRead typed(path, true);
  ASSERT_EQ(typed.Result, 1) << typed.Storage->GetUserMessages()->GetAllMessagesAsString();
  vtkKOVATableNode* node = typed.Node;
  ASSERT_EQ(node->GetNumberOfColumns(), 5);
  ASSERT_EQ(node->GetNumberOfRows(), 3);
  const char* names[] = { "id", "value", "label", "notes", "empty" };
  for (int c = 0; c < 5; ++c)
  {
    EXPECT_EQ(node->GetColumnName(c), names[c]);
  }
  EXPECT_EQ(ColumnClass(node, 0), "vtkIntArray");
  EXPECT_EQ(ColumnClass(node, 1), "vtkDoubleArray");
  EXPECT_EQ(ColumnClass(node, 2), "vtkStringArray");
  EXPECT_EQ(ColumnClass(node, 3), "vtkStringArray");
  EXPECT_EQ(ColumnClass(node, 4), "vtkStringArray");
  EXPECT_EQ(ColumnTexts(node, 0), (std::vector<std::string>{ "1", "2", "3" }));
  EXPECT_EQ(ColumnTexts(node, 1), (std::vector<std::string>{ "2.5", "-300", "0.5" }));
  EXPECT_EQ(ColumnTexts(node, 2),
    (std::vector<std::string>{ "a, b", "He said \"hi\"", "na\xC3\xAFve caf\xC3\xA9" }));
  EXPECT_EQ(ColumnTexts(node, 3),
    (std::vector<std::string>{ "line one\r\nline two", "C:\\path\\file", "" }));
  EXPECT_EQ(ColumnTexts(node, 4), (std::vector<std::string>{ "", "", "" }));
  EXPECT_EQ(typed.Storage->GetUserMessages()->GetNumberOfMessages(), 0);

  // Without type detection every column is text, as written.
  TextRead text(path, false);
  ASSERT_EQ(text.Result, 1);
  for (int c = 0; c < 5; ++c)
  {
    EXPECT_EQ(ColumnClass(text.Node, c), "vtkStringArray") << c;
  }
  EXPECT_EQ(ColumnTexts(text.Node, 1), (std::vector<std::string>{ "2.5", "-3e2", ".5" }));
  EXPECT_EQ(ColumnTexts(text.Node, 3), ColumnTexts(node, 3));
}

TEST(vtkKOVATableStorageNode, BlanksAreKept)
{
  // Leading and trailing blanks, a value of blanks only, blanks after a closing quote.
  vtkKOVATestTemporaryDirectory folder;
  TextRead read(
    folder.Write("blanks.csv", "name,n\n  indented,1\n   , 2\ntrailing  ,3 \n\"q\"  ,4\n"), true);
  ASSERT_EQ(read.Result, 1) << read.Storage->GetUserMessages()->GetAllMessagesAsString();
  EXPECT_EQ(ColumnTexts(read.Node, 0),
    (std::vector<std::string>{ "  indented", "   ", "trailing  ", "q  " }));
  EXPECT_EQ(ColumnClass(read.Node, 1), "vtkIntArray");

  // A single column: a row of blanks is a value, not a blank line.
  TextRead single(folder.Write("single.csv", "h\n   \nx\n"), false);
  ASSERT_EQ(single.Result, 1) << single.Storage->GetUserMessages()->GetAllMessagesAsString();
  EXPECT_EQ(ColumnTexts(single.Node, 0), (std::vector<std::string>{ "   ", "x" }));
}

TEST(vtkKOVATableStorageNode, TabSeparatedFiles)
{
  vtkKOVATestTemporaryDirectory folder;
  const std::string content = "a,b\tc\n\"x\ty\"\t\"multi\nline\"\n1,5\t2\n";
  for (const char* name : { "t.tsv", "t.txt", "T.TXT" })
  {
    TextRead read(folder.Write(name, content), true);
    ASSERT_EQ(read.Result, 1) << name;
    ASSERT_EQ(read.Node->GetNumberOfColumns(), 2) << name;
    EXPECT_EQ(read.Node->GetColumnName(0), "a,b");
    EXPECT_EQ(ColumnTexts(read.Node, 0), (std::vector<std::string>{ "x\ty", "1,5" }));
    EXPECT_EQ(ColumnTexts(read.Node, 1), (std::vector<std::string>{ "multi\nline", "2" }));
    EXPECT_EQ(ColumnClass(read.Node, 1), "vtkStringArray");
  }
  // Any other extension is comma-separated.
  TextRead other(folder.Write("t.dat", content), false);
  ASSERT_EQ(other.Result, 1);
  EXPECT_EQ(other.Node->GetColumnName(0), "a");
  EXPECT_EQ(other.Node->GetColumnName(1), "b\tc");
}

TEST(vtkKOVATableStorageNode, EmptyFieldsNextToTabs)
{
  // Empty fields at the start or end of a record, and records of delimiters only, with both
  // delimiters: a tab is also a blank, which must not swallow an empty field.
  struct Case
  {
    const char* Name;
    const char* Content;
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
  };
  const Case cases[] = {
    { "t.tsv", "\tb\n", { "", "b" }, {} },
    { "t.tsv", "a\tb\n\tx\ny\t\n\t\n", { "a", "b" }, { { "", "x" }, { "y", "" }, { "", "" } } },
    { "t.txt", "a\tb\tc\n\t\tz\n\n", { "a", "b", "c" }, { { "", "", "z" } } },
    { "t.tsv", "a\tb\tc\n\t\n", { "a", "b", "c" }, { { "", "", "" } } },
    { "t.csv", ",b\n,\nx,\n", { "", "b" }, { { "", "" }, { "x", "" } } },
  };
  vtkKOVATestTemporaryDirectory folder;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.Content);
    TextRead read(folder.Write(c.Name, c.Content), true);
    ASSERT_EQ(read.Result, 1) << read.Storage->GetUserMessages()->GetAllMessagesAsString();
    ASSERT_EQ(read.Node->GetNumberOfColumns(), static_cast<int>(c.Header.size()));
    ASSERT_EQ(read.Node->GetNumberOfRows(), static_cast<int>(c.Rows.size()));
    for (size_t col = 0; col < c.Header.size(); ++col)
    {
      const std::string name = read.Node->GetColumnName(static_cast<int>(col));
      EXPECT_EQ(name.substr(0, c.Header[col].size()), c.Header[col]);
      std::vector<std::string> expected;
      for (const std::vector<std::string>& row : c.Rows)
      {
        expected.push_back(row[col]);
      }
      EXPECT_EQ(ColumnTexts(read.Node, static_cast<int>(col)), expected);
    }
  }
}

TEST(vtkKOVATableStorageNode, ColumnTypeDetection)
{
  struct Case
  {
    std::vector<std::string> Values;
    const char* Class;
    const char* First; // GetCellText of the first value
  };
  const Case cases[] = {
    { { "1", "2", "-3" }, "vtkIntArray", "1" },
    { { "+5", " 7 ", "08" }, "vtkIntArray", "5" },
    { { "2147483647", "-2147483648" }, "vtkIntArray", "2147483647" },
    { { "3000000000", "1" }, "vtkLongLongArray", "3000000000" },
    { { "1", "2.5" }, "vtkDoubleArray", "1" },
    { { "1e3", ".5", "5.", "-0.25E-2" }, "vtkDoubleArray", "1000" },
    { { "99999999999999999999" }, "vtkDoubleArray", "1e+20" },
    { { "1", "" }, "vtkStringArray", "1" },
    { { "1", "  " }, "vtkStringArray", "1" },
    { { "nan", "1" }, "vtkStringArray", "nan" },
    { { "inf" }, "vtkStringArray", "inf" },
    { { "0x10" }, "vtkStringArray", "0x10" },
    { { "1e" }, "vtkStringArray", "1e" },
    { { "." }, "vtkStringArray", "." },
    { { "--1" }, "vtkStringArray", "--1" },
    { { "1 2" }, "vtkStringArray", "1 2" },
    { { "1e400" }, "vtkStringArray", "1e400" },
    { { "\"1,5\"" }, "vtkStringArray", "1,5" },
  };
  vtkKOVATestTemporaryDirectory folder;
  int n = 0;
  for (const Case& c : cases)
  {
    // A second column keeps rows with an empty value from being blank lines.
    std::string content = "tested,other\n";
    for (const std::string& value : c.Values)
    {
      content += value + ",x\n";
    }
    TextRead read(folder.Write("case" + std::to_string(n++) + ".csv", content), true);
    ASSERT_EQ(read.Result, 1) << content;
    EXPECT_EQ(ColumnClass(read.Node, 0), c.Class) << content;
    EXPECT_EQ(read.Node->GetCellText(0, 0), c.First) << content;
    EXPECT_EQ(read.Node->GetNumberOfRows(), static_cast<int>(c.Values.size()));
  }

  // A header without rows: the columns exist, as text.
  TextRead headerOnly(folder.Write("header.csv", "a,b\n"), true);
  ASSERT_EQ(headerOnly.Result, 1);
  EXPECT_EQ(headerOnly.Node->GetNumberOfColumns(), 2);
  EXPECT_EQ(headerOnly.Node->GetNumberOfRows(), 0);
  EXPECT_EQ(ColumnClass(headerOnly.Node, 0), "vtkStringArray");
}

TEST(vtkKOVATableStorageNode, HeaderNamesBlankLinesAndShortRows)
{
  vtkKOVATestTemporaryDirectory folder;
  // A byte order mark, a repeated and an empty column name, blank lines and short rows.
  TextRead read(folder.Write("shape.csv", "\xEF\xBB\xBFx,,x\r\n\r\n1,2,3\r\n4\r\n\n5,6\n"), true);
  ASSERT_EQ(read.Result, 1);
  vtkKOVATableNode* node = read.Node;
  ASSERT_EQ(node->GetNumberOfColumns(), 3);
  EXPECT_EQ(node->GetColumnName(0), "x");
  EXPECT_EQ(node->GetColumnName(1), "");
  EXPECT_EQ(node->GetColumnName(2), "x_1");
  EXPECT_EQ(ColumnTexts(node, 0), (std::vector<std::string>{ "1", "4", "5" }));
  EXPECT_EQ(ColumnTexts(node, 1), (std::vector<std::string>{ "2", "", "6" }));
  EXPECT_EQ(ColumnTexts(node, 2), (std::vector<std::string>{ "3", "", "" }));
  EXPECT_EQ(ColumnClass(node, 0), "vtkIntArray");

  vtkKOVAMessageCollection* messages = read.Storage->GetUserMessages();
  ASSERT_EQ(messages->GetNumberOfMessages(), 2);
  EXPECT_EQ(messages->GetNumberOfMessagesOfType(vtkCommand::WarningEvent), 2);
  EXPECT_NE(messages->GetNthMessageText(0).find(
              "the column name \"x\" is used more than once; column 3 is named \"x_1\""),
    std::string::npos)
    << messages->GetNthMessageText(0);
  EXPECT_NE(messages->GetNthMessageText(1).find(
              "2 row(s) have fewer fields than the header (the first on line 4)"),
    std::string::npos)
    << messages->GetNthMessageText(1);

  // A header "a,a_1,a" gives "a", "a_1" and "a_2".
  TextRead clash(folder.Write("clash.csv", "a,a_1,a\n1,2,3\n"), true);
  ASSERT_EQ(clash.Result, 1);
  ASSERT_EQ(clash.Node->GetNumberOfColumns(), 3);
  EXPECT_EQ(clash.Node->GetColumnName(2), "a_2");
  EXPECT_EQ(clash.Node->GetCellText(0, 2), "3");
}

TEST(vtkKOVATableStorageNode, MalformedFilesFailAndKeepTheNode)
{
  vtkKOVATestTemporaryDirectory folder;
  ASSERT_TRUE(vtkKOVATestSQLite::CreateDatabase(
    folder.File("database.csv"), { "CREATE TABLE t (a INTEGER)", "INSERT INTO t VALUES (1)" }));
  struct Case
  {
    std::string Name;
    std::string Content;
    bool Write; // write Content to the file first
    const char* Reason;
  };
  const Case cases[] = {
    { "empty.csv", "", true, "the file is empty" },
    { "blank.csv", "\n\r\n\n", true, "the file is empty" },
    { "open.csv",
      "a,b\n1,\"open\n2,3\n",
      true,
      "the quoted field that starts on line 2 is not closed" },
    { "wide.csv", "a,b\n1,2\n3,4,5\n", true, "line 3 has 3 fields but the header has 2" },
    { "wide-after-multiline.csv",
      "a,b\n\"x\ny\",1\n1,2,3\n",
      true,
      "line 4 has 3 fields but the header has 2" },
    { "latin1.csv", "a,b\n\xFF,1\n", true, "line 2 is not valid UTF-8 text" },
    { "truncated.csv", "a,b\n1,\xC3", true, "line 2 is not valid UTF-8 text" },
    { "nul.csv",
      std::string("a,b\n1,2\0\n", 9),
      true,
      "line 2 contains a NUL character (not a text file)" },
    { "database.csv", "", false, "contains a NUL character" },
    { "missing.csv", "", false, "the file cannot be opened" },
    { "", "", false, "it is a folder, not a file" },
  };
  for (const Case& c : cases)
  {
    const std::string path = c.Name.empty() ? folder.GetPath() : folder.File(c.Name);
    if (c.Write)
    {
      folder.Write(c.Name, c.Content);
    }
    vtkNew<vtkKOVATableStorageNode> storage;
    storage->SetFileName(path.c_str());
    vtkNew<vtkKOVATableNode> node;
    vtkTable* before = node->GetTable();
    before->AddColumn(vtkNew<vtkIntArray>());
    vtkKOVATestErrorCapture errors;
    EXPECT_EQ(storage->ReadData(node), 0) << path;
    EXPECT_EQ(node->GetTable(), before) << path;
    EXPECT_EQ(node->GetNumberOfColumns(), 1) << path;
    vtkKOVAMessageCollection* messages = storage->GetUserMessages();
    ASSERT_EQ(messages->GetNumberOfMessages(), 1) << path;
    EXPECT_EQ(messages->GetNthMessageType(0), vtkCommand::ErrorEvent);
    const std::string text = messages->GetNthMessageText(0);
    EXPECT_EQ(text.rfind("Cannot read table file " + path + ": ", 0), 0u) << text;
    EXPECT_NE(text.find(c.Reason), std::string::npos) << text;
    EXPECT_EQ(errors.GetNumberOfErrors(), 0) << path; // messages are for the user only
  }
}

TEST(vtkKOVATableSQLiteStorageNode, ColumnsTypedFromTheDatabase)
{
  vtkKOVATestTemporaryDirectory folder;
  const std::string path = folder.File("types.db");
  ASSERT_TRUE(vtkKOVATestSQLite::CreateDatabase(path,
    { "CREATE TABLE measures (id INTEGER, big INTEGER, ratio REAL, name TEXT, anything, "
      "withnull INTEGER, mixed INTEGER, bin BLOB, num NUMERIC, huge INTEGER)",
      "INSERT INTO measures VALUES (1, 3000000000, 0.1, 'na\xC3\xAFve', 5, 1, 1, X'00FF', 10, "
      "9007199254740993)",
      "INSERT INTO measures VALUES (2, -4000000000, 2.0, NULL, 6, NULL, 'seven', NULL, 2.5, NULL)",
      "CREATE TABLE \"empty one\" (a INTEGER, b REAL, c TEXT, d)",
      "CREATE TABLE \"odd \"\"name\"\"\" (x INTEGER)",
      "INSERT INTO \"odd \"\"name\"\"\" VALUES (7)" }));

  vtkNew<vtkKOVATableSQLiteStorageNode> storage;
  storage->SetFileName(path.c_str());
  storage->SetTableName("measures");
  vtkNew<vtkKOVATableNode> node;
  ASSERT_EQ(storage->ReadData(node), 1) << storage->GetUserMessages()->GetAllMessagesAsString();
  ASSERT_EQ(node->GetNumberOfColumns(), 10);
  ASSERT_EQ(node->GetNumberOfRows(), 2);
  struct Expected
  {
    const char* Name;
    const char* Class;
    std::vector<std::string> Texts;
  };
  const Expected expected[] = {
    { "id", "vtkIntArray", { "1", "2" } },
    { "big", "vtkLongLongArray", { "3000000000", "-4000000000" } },
    { "ratio", "vtkDoubleArray", { "0.1", "2" } },
    { "name", "vtkStringArray", { "na\xC3\xAFve", "" } },
    { "anything", "vtkIntArray", { "5", "6" } },
    { "withnull", "vtkDoubleArray", { "1", "nan" } },
    { "mixed", "vtkStringArray", { "1", "seven" } },
    { "bin", "vtkStringArray", { "00FF", "" } },
    { "num", "vtkDoubleArray", { "10", "2.5" } },
    // 2^53 + 1 has no exact double: with a NULL beside it the column stays exact as text.
    { "huge", "vtkStringArray", { "9007199254740993", "" } },
  };
  for (int c = 0; c < 10; ++c)
  {
    EXPECT_EQ(node->GetColumnName(c), expected[c].Name);
    EXPECT_EQ(ColumnClass(node, c), expected[c].Class) << expected[c].Name;
    EXPECT_EQ(ColumnTexts(node, c), expected[c].Texts) << expected[c].Name;
  }
  EXPECT_EQ(vtkDoubleArray::SafeDownCast(node->GetTable()->GetColumn(2))->GetValue(0), 0.1);
  EXPECT_TRUE(
    std::isnan(vtkDoubleArray::SafeDownCast(node->GetTable()->GetColumn(5))->GetValue(1)));

  // An empty table keeps its columns, typed by their declarations.
  storage->SetTableName("empty one");
  ASSERT_EQ(storage->ReadData(node), 1);
  EXPECT_EQ(node->GetNumberOfRows(), 0);
  ASSERT_EQ(node->GetNumberOfColumns(), 4);
  EXPECT_EQ(ColumnClass(node, 0), "vtkIntArray");
  EXPECT_EQ(ColumnClass(node, 1), "vtkDoubleArray");
  EXPECT_EQ(ColumnClass(node, 2), "vtkStringArray");
  EXPECT_EQ(ColumnClass(node, 3), "vtkStringArray");

  // Names that need quoting in SQL.
  storage->SetTableName("odd \"name\"");
  ASSERT_EQ(storage->ReadData(node), 1);
  EXPECT_EQ(node->GetColumnName(0), "x");
  EXPECT_EQ(node->GetCellText(0, 0), "7");
}

TEST(vtkKOVATableSQLiteStorageNode, FailuresGiveMessagesAndKeepTheNode)
{
  vtkKOVATestTemporaryDirectory folder;
  const std::string database = folder.File("d.sqlite");
  // The generated column of "broken" names a function that SQLite does not know when reading.
  ASSERT_TRUE(vtkKOVATestSQLite::CreateDatabase(database,
    { "CREATE TABLE good (a INTEGER)",
      "CREATE TABLE broken (a INTEGER, b INTEGER AS (a + 1))",
      "INSERT INTO broken (a) VALUES (1)",
      "PRAGMA writable_schema=ON",
      "UPDATE sqlite_master SET sql='CREATE TABLE broken (a INTEGER, b INTEGER AS "
      "(nosuchfunction(a)))' WHERE name='broken'" }));
  const std::string text = folder.Write("text.db", "this is not a database, only some text\n");
  struct Case
  {
    std::string File;
    const char* Table;
    const char* Reason;
  };
  const Case cases[] = {
    { database, "missing", "the database has no table of that name" },
    { database, nullptr, "no table name is set" },
    { database, "", "no table name is set" },
    { database, "broken", "nosuchfunction" },
    { folder.File("absent.db"), "good", "the file does not exist" },
    { text, "good", "file is not a database" },
  };
  for (const Case& c : cases)
  {
    vtkNew<vtkKOVATableSQLiteStorageNode> storage;
    storage->SetFileName(c.File.c_str());
    storage->SetTableName(c.Table);
    vtkNew<vtkKOVATableNode> node;
    vtkTable* before = node->GetTable();
    vtkKOVATestErrorCapture errors; // VTK's SQL module reports failing queries itself
    EXPECT_EQ(storage->ReadData(node), 0) << c.File << " " << (c.Table ? c.Table : "(null)");
    EXPECT_EQ(node->GetTable(), before);
    vtkKOVAMessageCollection* messages = storage->GetUserMessages();
    ASSERT_EQ(messages->GetNumberOfMessages(), 1);
    EXPECT_EQ(messages->GetNthMessageType(0), vtkCommand::ErrorEvent);
    EXPECT_NE(messages->GetNthMessageText(0).find(c.Reason), std::string::npos)
      << messages->GetNthMessageText(0);
  }

  // The readable table of the same file still reads.
  vtkNew<vtkKOVATableSQLiteStorageNode> storage;
  storage->SetFileName(database.c_str());
  storage->SetTableName("good");
  vtkNew<vtkKOVATableNode> node;
  EXPECT_EQ(storage->ReadData(node), 1);
}

TEST(vtkKOVATableStorageNodes, SceneFileAttributesAndCopy)
{
  vtkNew<vtkKOVAScene> scene;
  auto* text =
    vtkKOVATableStorageNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVATableStorageNode"));
  auto* sqlite = vtkKOVATableSQLiteStorageNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVATableSQLiteStorageNode"));
  ASSERT_TRUE(text && sqlite);
  text->SetFileName("/data/a \"b\".csv");
  text->SetDetectColumnTypes(false);
  sqlite->SetFileName("/data/c.db");
  sqlite->SetTableName("t&u");

  vtkNew<vtkKOVAScene> other;
  ASSERT_TRUE(other->ReadFromXMLString(scene->WriteToXMLString()));
  auto* readText = vtkKOVATableStorageNode::SafeDownCast(other->GetNodeByID(text->GetID()));
  auto* readSQLite =
    vtkKOVATableSQLiteStorageNode::SafeDownCast(other->GetNodeByID(sqlite->GetID()));
  ASSERT_TRUE(readText && readSQLite);
  EXPECT_STREQ(readText->GetFileName(), "/data/a \"b\".csv");
  EXPECT_FALSE(readText->GetDetectColumnTypes());
  EXPECT_STREQ(readSQLite->GetFileName(), "/data/c.db");
  EXPECT_STREQ(readSQLite->GetTableName(), "t&u");

  vtkNew<vtkKOVATableSQLiteStorageNode> copy;
  copy->Copy(sqlite);
  EXPECT_STREQ(copy->GetTableName(), "t&u");
  EXPECT_STREQ(copy->GetFileName(), "/data/c.db");
}

TEST(vtkKOVATableNode, TableCopyAndModifiedRelay)
{
  vtkNew<vtkKOVATableNode> node;
  ASSERT_NE(node->GetTable(), nullptr);
  vtkNew<vtkIntArray> column;
  column->SetName("n");
  column->InsertNextValue(4);
  node->GetTable()->AddColumn(column);

  const vtkMTimeType before = node->GetMTime();
  column->Modified();
  node->GetTable()->Modified();
  EXPECT_GT(node->GetMTime(), before);

  vtkNew<vtkKOVATableNode> deep;
  deep->CopyContent(node, true);
  EXPECT_NE(deep->GetTable(), node->GetTable());
  EXPECT_EQ(deep->GetCellText(0, 0), "4");
  vtkNew<vtkKOVATableNode> shallow;
  shallow->CopyContent(node, false);
  EXPECT_EQ(shallow->GetTable(), node->GetTable());

  node->SetAndObserveTable(nullptr);
  ASSERT_NE(node->GetTable(), nullptr);
  EXPECT_EQ(node->GetNumberOfColumns(), 0);
  EXPECT_EQ(node->GetCellText(0, 0), "");
  EXPECT_EQ(deep->GetCellText(5, 0), "");
}

TEST(vtkKOVAMessageCollection, MessagesTypesAndPrefix)
{
  vtkNew<vtkKOVAMessageCollection> source;
  source->AddMessage(vtkCommand::ErrorEvent, "bad");
  source->AddMessage(vtkCommand::WarningEvent, "odd");
  source->AddMessage(vtkCommand::MessageEvent, "note");

  vtkNew<vtkKOVAMessageCollection> target;
  target->AddMessage(vtkCommand::MessageEvent, "first");
  target->AddMessages(source, "File: ");
  ASSERT_EQ(target->GetNumberOfMessages(), 4);
  EXPECT_EQ(target->GetNthMessageText(1), "File: bad");
  EXPECT_EQ(target->GetNthMessageType(2), vtkCommand::WarningEvent);
  EXPECT_EQ(target->GetNumberOfMessagesOfType(vtkCommand::MessageEvent), 2);
  EXPECT_EQ(target->GetNthMessageText(9), "");
  EXPECT_EQ(target->GetNthMessageType(-1), 0u);

  bool error = false;
  bool warning = false;
  EXPECT_EQ(target->GetAllMessagesAsString(&error, &warning),
    "first\nError: File: bad\nWarning: File: odd\nFile: note\n");
  EXPECT_TRUE(error);
  EXPECT_TRUE(warning);

  target->AddMessages(target);
  EXPECT_EQ(target->GetNumberOfMessages(), 8);
  target->AddMessages(nullptr);
  target->ClearMessages();
  EXPECT_EQ(target->GetNumberOfMessages(), 0);
  EXPECT_EQ(target->GetAllMessagesAsString(&error, &warning), "");
  EXPECT_FALSE(error);
  EXPECT_FALSE(warning);
}
