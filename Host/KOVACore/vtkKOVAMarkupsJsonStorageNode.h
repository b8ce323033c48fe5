#ifndef vtkKOVAMarkupsJsonStorageNode_h
#define vtkKOVAMarkupsJsonStorageNode_h

#include "vtkKOVAStorageNode.h"

#include <string>

/// Where a markups node is stored: a markups JSON file. Markups are kept in the scene file by
/// this tree; reading a markups file reports an error.
class KOVACORE_EXPORT vtkKOVAMarkupsJsonStorageNode : public vtkKOVAStorageNode
{
public:
  static vtkKOVAMarkupsJsonStorageNode* New();
  vtkTypeMacro(vtkKOVAMarkupsJsonStorageNode, vtkKOVAStorageNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "MarkupsJsonStorage"; }

  /// Markups nodes.
  bool CanReadInReferenceNode(vtkKOVANode* refNode) override;
  /// Extension (without the leading dot) of the files written by default.
  std::string GetDefaultWriteFileExtension() { return "mrk.json"; }

protected:
  vtkKOVAMarkupsJsonStorageNode();
  ~vtkKOVAMarkupsJsonStorageNode() override;

  int ReadDataInternal(vtkKOVANode* refNode) override;

private:
  vtkKOVAMarkupsJsonStorageNode(const vtkKOVAMarkupsJsonStorageNode&) = delete;
  void operator=(const vtkKOVAMarkupsJsonStorageNode&) = delete;
};

#endif
