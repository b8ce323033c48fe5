#ifndef vtkKOVAColorTableNode_h
#define vtkKOVAColorTableNode_h

#include "vtkKOVANode.h"

class vtkLookupTable;

/// A colour table: a lookup table of RGBA colours that display nodes refer to (not written to the
/// scene file).
class KOVACORE_EXPORT vtkKOVAColorTableNode : public vtkKOVANode
{
public:
  static vtkKOVAColorTableNode* New();
  vtkTypeMacro(vtkKOVAColorTableNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "ColorTable"; }
  vtkKOVACopyContentMacro(vtkKOVAColorTableNode);

  /// The table; never null. Changing its colours through it does not modify the node.
  vtkLookupTable* GetLookupTable();
  int GetNumberOfColors();

protected:
  vtkKOVAColorTableNode();
  ~vtkKOVAColorTableNode() override;

  vtkSmartPointer<vtkLookupTable> LookupTable;

private:
  vtkKOVAColorTableNode(const vtkKOVAColorTableNode&) = delete;
  void operator=(const vtkKOVAColorTableNode&) = delete;
};

#endif
