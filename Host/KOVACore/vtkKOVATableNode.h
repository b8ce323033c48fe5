#ifndef vtkKOVATableNode_h
#define vtkKOVATableNode_h

#include "vtkKOVANode.h"

#include <string>

class vtkTable;

/// A node that holds a table (a vtkTable: named columns of equal length).
///
/// The table's content is not written to scene files; storage nodes read it from table files.
/// Changes of the table (its ModifiedEvent) are relayed as the node's ModifiedEvent.
class KOVACORE_EXPORT vtkKOVATableNode : public vtkKOVANode
{
public:
  static vtkKOVATableNode* New();
  vtkTypeMacro(vtkKOVATableNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Table"; }
  /// Copies the table (a deep copy, or the same table object when \a deepCopy is false).
  vtkKOVACopyContentMacro(vtkKOVATableNode);

  /// The table; a new node holds an empty one. Never null.
  vtkTable* GetTable();
  /// Replaces the table (null: an empty one) and observes it.
  void SetAndObserveTable(vtkTable* table);

  int GetNumberOfRows();
  int GetNumberOfColumns();
  /// Name of a column; the empty string when there is no such column or it has no name.
  std::string GetColumnName(int columnIndex);
  /// A cell's value as text (numbers in their shortest exact form); the empty string when there
  /// is no such cell.
  std::string GetCellText(int rowIndex, int columnIndex);

protected:
  vtkKOVATableNode();
  ~vtkKOVATableNode() override;

  vtkSmartPointer<vtkTable> Table;
  unsigned long TableObserverTag = 0;
  vtkSmartPointer<vtkCallbackCommand> TableCallbackCommand;

private:
  static void TableModifiedCallback(vtkObject* caller,
    unsigned long eid,
    void* clientData,
    void* callData);

  vtkKOVATableNode(const vtkKOVATableNode&) = delete;
  void operator=(const vtkKOVATableNode&) = delete;
};

#endif
