#ifndef vtkKOVATableStorageNode_h
#define vtkKOVATableStorageNode_h

#include "vtkKOVAStorageNode.h"

#include <string>

/// Reads a table node from a delimited text file: comma-separated for ".csv" (and any extension
/// other than the tab-separated ones), tab-separated for ".tsv" and ".txt".
///
/// The first non-blank row holds the column names (a repeated name gets a suffix, "_1" and so on,
/// with a warning). Fields may be quoted with double quotes;
/// a quoted field may contain delimiters, line breaks and doubled quotes (one quote each). Blank
/// lines are skipped, and rows with fewer fields than the header get empty cells (with a warning).
/// The text must be UTF-8 (a leading byte order mark is dropped).
///
/// With DetectColumnTypes on, a column whose every value is a number (decimal notation, blanks
/// around it allowed) becomes numeric: a vtkIntArray when all are integers that fit an int, a
/// vtkLongLongArray for larger integers, a vtkDoubleArray otherwise. Every other column, and every
/// column with DetectColumnTypes off, is a vtkStringArray holding the text as written.
///
/// Files that cannot be read, are not UTF-8 text, have no header, have a row with more fields than
/// the header or a quoted field that is not closed give an error message and a failed read; the
/// node is left unchanged.
class KOVACORE_EXPORT vtkKOVATableStorageNode : public vtkKOVAStorageNode
{
public:
  static vtkKOVATableStorageNode* New();
  vtkTypeMacro(vtkKOVATableStorageNode, vtkKOVAStorageNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "TableStorage"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVATableStorageNode);

  bool CanReadInReferenceNode(vtkKOVANode* refNode) override;

  /// Whether all-numeric columns become numeric arrays (on by default).
  vtkGetMacro(DetectColumnTypes, bool);
  vtkSetMacro(DetectColumnTypes, bool);
  vtkBooleanMacro(DetectColumnTypes, bool);

  /// The field delimiter used for a file name: a tab for ".tsv" and ".txt", else a comma.
  static char GetFieldDelimiterForFileName(const std::string& fileName);

protected:
  vtkKOVATableStorageNode();
  ~vtkKOVATableStorageNode() override;

  int ReadDataInternal(vtkKOVANode* refNode) override;

  bool DetectColumnTypes = true;

private:
  vtkKOVATableStorageNode(const vtkKOVATableStorageNode&) = delete;
  void operator=(const vtkKOVATableStorageNode&) = delete;
};

#endif
