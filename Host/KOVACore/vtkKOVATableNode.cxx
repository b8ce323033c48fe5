#include "vtkKOVATableNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkAbstractArray.h>
#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkObjectFactory.h>
#include <vtkTable.h>
#include <vtkVariant.h>

#include <charconv>

vtkKOVANodeNewMacro(vtkKOVATableNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVATableNode);

//------------------------------------------------------------------------------
vtkKOVATableNode::vtkKOVATableNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVATableNode", "Table");
  this->TableCallbackCommand = vtkSmartPointer<vtkCallbackCommand>::New();
  this->TableCallbackCommand->SetClientData(this);
  this->TableCallbackCommand->SetCallback(&vtkKOVATableNode::TableModifiedCallback);
  vtkNew<vtkTable> table;
  this->SetAndObserveTable(table);
}

//------------------------------------------------------------------------------
vtkKOVATableNode::~vtkKOVATableNode()
{
  if (this->Table)
  {
    this->Table->RemoveObserver(this->TableObserverTag);
  }
  this->TableCallbackCommand->SetClientData(nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVATableNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Rows: " << this->GetNumberOfRows() << "\n";
  os << indent << "Columns:";
  for (int i = 0; i < this->GetNumberOfColumns(); ++i)
  {
    os << " " << this->GetColumnName(i);
  }
  os << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVATableNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVATableNode* node = vtkKOVATableNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  if (deepCopy)
  {
    vtkNew<vtkTable> table;
    table->DeepCopy(node->GetTable());
    this->SetAndObserveTable(table);
  }
  else
  {
    this->SetAndObserveTable(node->GetTable());
  }
}

//------------------------------------------------------------------------------
vtkTable* vtkKOVATableNode::GetTable()
{
  return this->Table;
}

//------------------------------------------------------------------------------
void vtkKOVATableNode::SetAndObserveTable(vtkTable* table)
{
  vtkSmartPointer<vtkTable> newTable = table;
  if (!newTable)
  {
    newTable = vtkSmartPointer<vtkTable>::New();
  }
  if (newTable == this->Table)
  {
    return;
  }
  if (this->Table)
  {
    this->Table->RemoveObserver(this->TableObserverTag);
  }
  this->Table = newTable;
  this->TableObserverTag =
    this->Table->AddObserver(vtkCommand::ModifiedEvent, this->TableCallbackCommand);
  this->Modified();
}

//------------------------------------------------------------------------------
int vtkKOVATableNode::GetNumberOfRows()
{
  return static_cast<int>(this->Table->GetNumberOfRows());
}

//------------------------------------------------------------------------------
int vtkKOVATableNode::GetNumberOfColumns()
{
  return static_cast<int>(this->Table->GetNumberOfColumns());
}

//------------------------------------------------------------------------------
std::string vtkKOVATableNode::GetColumnName(int columnIndex)
{
  if (columnIndex < 0 || columnIndex >= this->GetNumberOfColumns())
  {
    return std::string();
  }
  const char* name = this->Table->GetColumnName(columnIndex);
  return name ? name : "";
}

//------------------------------------------------------------------------------
std::string vtkKOVATableNode::GetCellText(int rowIndex, int columnIndex)
{
  if (rowIndex < 0 || rowIndex >= this->GetNumberOfRows() || columnIndex < 0 ||
      columnIndex >= this->GetNumberOfColumns())
  {
    return std::string();
  }
  vtkAbstractArray* column = this->Table->GetColumn(columnIndex);
  if (!column || rowIndex >= column->GetNumberOfTuples())
  {
    return std::string();
  }
  const vtkVariant value = column->GetVariantValue(rowIndex);
  // Floating-point numbers: the shortest text that reads back as the same number.
  char buffer[64];
  if (value.IsDouble())
  {
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value.ToDouble());
    return std::string(buffer, result.ptr);
  }
  if (value.IsFloat())
  {
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value.ToFloat());
    return std::string(buffer, result.ptr);
  }
  return value.ToString();
}

//------------------------------------------------------------------------------
void vtkKOVATableNode::TableModifiedCallback(vtkObject* caller,
  unsigned long vtkNotUsed(eid),
  void* clientData,
  void* vtkNotUsed(callData))
{
  vtkKOVATableNode* self = static_cast<vtkKOVATableNode*>(clientData);
  if (self && caller == self->Table.GetPointer())
  {
    self->Modified();
  }
}
