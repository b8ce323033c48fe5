#ifndef vtkKOVATableSQLiteStorageNode_h
#define vtkKOVATableSQLiteStorageNode_h

#include "vtkKOVAStorageNode.h"

/// Reads a table node from one table (TableName) of an SQLite database file (FileName).
///
/// Columns keep the table's column names and are typed from the database: a column declared with
/// integer affinity becomes a vtkIntArray (a vtkLongLongArray when a value does not fit an int),
/// one with real affinity a vtkDoubleArray, one with text affinity a vtkStringArray; a column of
/// other or no declared type is typed by its values in the same way. Where the stored values do not
/// fit the column's type, the column widens so that nothing is lost: integers with NULL or real
/// values become doubles (NULL as NaN), anything with text or binary values becomes text (binary
/// values as hexadecimal digits, NULL as the empty string).
///
/// A file that cannot be opened as a database, a missing table or a failing query gives an error
/// message and a failed read; the node is left unchanged.
class KOVACORE_EXPORT vtkKOVATableSQLiteStorageNode : public vtkKOVAStorageNode
{
public:
  static vtkKOVATableSQLiteStorageNode* New();
  vtkTypeMacro(vtkKOVATableSQLiteStorageNode, vtkKOVAStorageNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "TableSQLiteStorage"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVATableSQLiteStorageNode);

  bool CanReadInReferenceNode(vtkKOVANode* refNode) override;

  /// The database table to read.
  vtkGetStringMacro(TableName);
  vtkSetStringMacro(TableName);

protected:
  vtkKOVATableSQLiteStorageNode();
  ~vtkKOVATableSQLiteStorageNode() override;

  int ReadDataInternal(vtkKOVANode* refNode) override;

  char* TableName = nullptr;

private:
  vtkKOVATableSQLiteStorageNode(const vtkKOVATableSQLiteStorageNode&) = delete;
  void operator=(const vtkKOVATableSQLiteStorageNode&) = delete;
};

#endif
