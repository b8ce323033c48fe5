#include "vtkKOVATableSQLiteStorageNode.h"

#include "vtkKOVAScene.h"
#include "vtkKOVATableColumnsInternal.h"
#include "vtkKOVATableNode.h"

#include <vtkDoubleArray.h>
#include <vtkMath.h>
#include <vtkObjectFactory.h>
#include <vtkSQLQuery.h>
#include <vtkSQLiteDatabase.h>
#include <vtkStringArray.h>
#include <vtkTable.h>
#include <vtkVariant.h>
#include <vtksys/SystemTools.hxx>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>
#include <vector>

vtkKOVANodeNewMacro(vtkKOVATableSQLiteStorageNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVATableSQLiteStorageNode);

namespace
{
/// An SQL identifier in double quotes (embedded quotes doubled).
std::string QuoteIdentifier(const std::string& name)
{
  std::string quoted = "\"";
  for (char c : name)
  {
    quoted += c;
    if (c == '"')
    {
      quoted += '"';
    }
  }
  return quoted + "\"";
}

enum class ColumnType
{
  Integer,
  Double,
  Text,
  ByValues,
};

/// The array type that SQLite's affinity rules give a declared column type.
ColumnType TypeFromDeclaration(std::string declared)
{
  std::transform(declared.begin(),
    declared.end(),
    declared.begin(),
    [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const auto has = [&declared](const char* part)
  { return declared.find(part) != std::string::npos; };
  if (has("INT"))
  {
    return ColumnType::Integer;
  }
  if (has("CHAR") || has("CLOB") || has("TEXT"))
  {
    return ColumnType::Text;
  }
  if (declared.empty() || has("BLOB"))
  {
    return ColumnType::ByValues;
  }
  if (has("REAL") || has("FLOA") || has("DOUB"))
  {
    return ColumnType::Double;
  }
  return ColumnType::ByValues; // numeric affinity
}

/// The values of one column, by SQLite storage class.
struct ColumnValues
{
  enum StorageClass : unsigned char
  {
    Null,
    Integer,
    Real,
    Text,
  };
  std::string Name;
  ColumnType DeclaredType = ColumnType::ByValues;
  std::vector<unsigned char> Classes;
  std::vector<long long> Integers;
  std::vector<double> Reals;
  std::vector<std::string> Texts;

  ColumnType GetType() const
  {
    bool hasNull = false;
    bool hasInteger = false;
    bool hasReal = false;
    bool hasText = false;
    bool integersExact = true;
    for (size_t i = 0; i < this->Classes.size(); ++i)
    {
      switch (this->Classes[i])
      {
        case Null:
          hasNull = true;
          break;
        case Integer:
          hasInteger = true;
          integersExact =
            integersExact && vtkKOVATableColumnsInternal::IsExactAsDouble(this->Integers[i]);
          break;
        case Real:
          hasReal = true;
          break;
        default:
          hasText = true;
          break;
      }
    }
    ColumnType type = this->DeclaredType;
    if (type == ColumnType::ByValues)
    {
      if (!hasInteger && !hasReal)
      {
        return ColumnType::Text; // no rows, or only NULL and text
      }
      type = ColumnType::Integer;
    }
    if (type == ColumnType::Text || hasText)
    {
      return ColumnType::Text;
    }
    if (type == ColumnType::Integer && !hasNull && !hasReal)
    {
      return ColumnType::Integer;
    }
    // Doubles hold every integer of the column exactly, or the column becomes text.
    return integersExact ? ColumnType::Double : ColumnType::Text;
  }

  vtkSmartPointer<vtkAbstractArray> NewArray() const
  {
    const vtkIdType rows = static_cast<vtkIdType>(this->Classes.size());
    vtkSmartPointer<vtkAbstractArray> array;
    switch (this->GetType())
    {
      case ColumnType::Integer:
        array = vtkKOVATableColumnsInternal::NewIntegerColumn(this->Integers);
        break;
      case ColumnType::Double:
      {
        auto column = vtkSmartPointer<vtkDoubleArray>::New();
        column->SetNumberOfValues(rows);
        for (vtkIdType r = 0; r < rows; ++r)
        {
          const size_t i = static_cast<size_t>(r);
          const double value = this->Classes[i] == Integer ? static_cast<double>(this->Integers[i])
                               : this->Classes[i] == Real  ? this->Reals[i]
                                                           : vtkMath::Nan();
          column->SetValue(r, value);
        }
        array = column;
        break;
      }
      default:
      {
        auto column = vtkSmartPointer<vtkStringArray>::New();
        column->SetNumberOfValues(rows);
        for (vtkIdType r = 0; r < rows; ++r)
        {
          const size_t i = static_cast<size_t>(r);
          switch (this->Classes[i])
          {
            case Integer:
              column->SetValue(r, std::to_string(this->Integers[i]));
              break;
            case Real:
              column->SetValue(r, vtkKOVATableColumnsInternal::DoubleToText(this->Reals[i]));
              break;
            case Text:
              column->SetValue(r, this->Texts[i]);
              break;
            default:
              break; // NULL: empty text
          }
        }
        array = column;
        break;
      }
    }
    array->SetName(this->Name.c_str());
    return array;
  }
};
}

//------------------------------------------------------------------------------
vtkKOVATableSQLiteStorageNode::vtkKOVATableSQLiteStorageNode() = default;

vtkKOVATableSQLiteStorageNode::~vtkKOVATableSQLiteStorageNode()
{
  this->SetTableName(nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVATableSQLiteStorageNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "TableName: " << (this->TableName ? this->TableName : "(none)") << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVATableSQLiteStorageNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "tableName") == 0)
    {
      this->SetTableName(atts[i + 1]);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVATableSQLiteStorageNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  if (this->TableName)
  {
    of << " tableName=\"" << XMLAttributeEncodeString(this->TableName) << "\"";
  }
}

//------------------------------------------------------------------------------
void vtkKOVATableSQLiteStorageNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  if (vtkKOVATableSQLiteStorageNode* node = vtkKOVATableSQLiteStorageNode::SafeDownCast(anode))
  {
    this->SetTableName(node->TableName);
  }
}

//------------------------------------------------------------------------------
bool vtkKOVATableSQLiteStorageNode::CanReadInReferenceNode(vtkKOVANode* refNode)
{
  return refNode && refNode->IsA("vtkKOVATableNode");
}

//------------------------------------------------------------------------------
int vtkKOVATableSQLiteStorageNode::ReadDataInternal(vtkKOVANode* refNode)
{
  vtkKOVATableNode* tableNode = vtkKOVATableNode::SafeDownCast(refNode);
  const std::string fileName = this->FileName;
  const std::string tableName = this->TableName ? this->TableName : "";
  const std::string failure =
    "Cannot read table " + tableName + " from database file " + fileName + ": ";
  if (tableName.empty())
  {
    this->AddErrorMessage(
      "Cannot read a table from database file " + fileName + ": no table name is set.");
    return 0;
  }
  if (!vtksys::SystemTools::FileExists(fileName, true))
  {
    this->AddErrorMessage(failure + "the file does not exist.");
    return 0;
  }

  vtkNew<vtkSQLiteDatabase> database;
  database->SetDatabaseFileName(fileName.c_str());
  if (!database->Open("", vtkSQLiteDatabase::USE_EXISTING))
  {
    this->AddErrorMessage(failure + "the file cannot be opened as a database (" +
                          (database->GetLastErrorText() ? database->GetLastErrorText() : "") +
                          ").");
    return 0;
  }
  vtkSmartPointer<vtkSQLQuery> query;
  query.TakeReference(database->GetQueryInstance());
  const auto queryError = [&query]()
  {
    const char* text = query->GetLastErrorText();
    return std::string(text ? text : "unknown error");
  };

  // Column names and declared types; generated columns included, the hidden columns of virtual
  // tables not (as in "SELECT *").
  const std::string quotedTable = QuoteIdentifier(tableName);
  std::vector<ColumnValues> columns;
  if (!query->SetQuery(("PRAGMA table_xinfo(" + quotedTable + ")").c_str()) || !query->Execute())
  {
    this->AddErrorMessage(failure + queryError() + ".");
    return 0;
  }
  while (query->NextRow())
  {
    if (query->DataValue(6).ToInt() == 1)
    {
      continue;
    }
    ColumnValues column;
    column.Name = query->DataValue(1).ToString();
    column.DeclaredType = TypeFromDeclaration(query->DataValue(2).ToString());
    columns.push_back(std::move(column));
  }
  if (query->HasError())
  {
    this->AddErrorMessage(failure + queryError() + ".");
    return 0;
  }
  if (columns.empty())
  {
    this->AddErrorMessage(failure + "the database has no table of that name.");
    return 0;
  }

  // Per column its storage class and its value: integers as text (VTK's query gives only 32 bits
  // of them), binary values as hexadecimal text, the others as they are.
  std::string select = "SELECT ";
  for (size_t c = 0; c < columns.size(); ++c)
  {
    const std::string name = QuoteIdentifier(columns[c].Name);
    select += (c ? ", typeof(" : "typeof(") + name + "), CASE typeof(" + name +
              ") WHEN 'integer' THEN CAST(" + name + " AS TEXT) WHEN 'blob' THEN hex(" + name +
              ") ELSE " + name + " END";
  }
  select += " FROM " + quotedTable;
  if (!query->SetQuery(select.c_str()) || !query->Execute())
  {
    this->AddErrorMessage(failure + queryError() + ".");
    return 0;
  }
  while (query->NextRow())
  {
    for (size_t c = 0; c < columns.size(); ++c)
    {
      ColumnValues& column = columns[c];
      const std::string storageClass = query->DataValue(static_cast<vtkIdType>(2 * c)).ToString();
      const vtkVariant value = query->DataValue(static_cast<vtkIdType>(2 * c + 1));
      unsigned char cellClass = ColumnValues::Text;
      long long integer = 0;
      double real = 0.0;
      std::string text;
      if (storageClass == "null")
      {
        cellClass = ColumnValues::Null;
      }
      else if (storageClass == "integer")
      {
        cellClass = ColumnValues::Integer;
        text = value.ToString();
        const auto result = std::from_chars(text.data(), text.data() + text.size(), integer);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        {
          this->AddErrorMessage(failure + "unexpected integer text " + text + ".");
          return 0;
        }
        text.clear();
      }
      else if (storageClass == "real")
      {
        cellClass = ColumnValues::Real;
        real = value.ToDouble();
      }
      else
      {
        text = value.ToString();
      }
      column.Classes.push_back(cellClass);
      column.Integers.push_back(integer);
      column.Reals.push_back(real);
      column.Texts.push_back(std::move(text));
    }
  }
  if (query->HasError())
  {
    this->AddErrorMessage(failure + queryError() + ".");
    return 0;
  }

  vtkNew<vtkTable> table;
  for (const ColumnValues& column : columns)
  {
    table->AddColumn(column.NewArray());
  }
  tableNode->SetAndObserveTable(table);
  return 1;
}
