#ifndef vtkKOVAStorageNode_h
#define vtkKOVAStorageNode_h

#include "vtkKOVANode.h"

#include <string>

/// Base of the nodes that say where a storable node's data is kept: the file name and the
/// file extension that writing uses by default.
class KOVACORE_EXPORT vtkKOVAStorageNode : public vtkKOVANode
{
public:
  vtkTypeMacro(vtkKOVAStorageNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAStorageNode);

  std::string GetFileName() { return this->FileName; }
  void SetFileName(const std::string& fileName);

  /// Extension (without the leading dot) of files written by default.
  virtual std::string GetDefaultWriteFileExtension() { return std::string(); }

protected:
  vtkKOVAStorageNode();
  ~vtkKOVAStorageNode() override;

  std::string FileName;

private:
  vtkKOVAStorageNode(const vtkKOVAStorageNode&) = delete;
  void operator=(const vtkKOVAStorageNode&) = delete;
};

/// Storage of markups in a JSON file.
class KOVACORE_EXPORT vtkKOVAMarkupsJsonStorageNode : public vtkKOVAStorageNode
{
public:
  static vtkKOVAMarkupsJsonStorageNode* New();
  vtkTypeMacro(vtkKOVAMarkupsJsonStorageNode, vtkKOVAStorageNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "MarkupsJsonStorage"; }
  std::string GetDefaultWriteFileExtension() override { return "mrk.json"; }

protected:
  vtkKOVAMarkupsJsonStorageNode();
  ~vtkKOVAMarkupsJsonStorageNode() override;

private:
  vtkKOVAMarkupsJsonStorageNode(const vtkKOVAMarkupsJsonStorageNode&) = delete;
  void operator=(const vtkKOVAMarkupsJsonStorageNode&) = delete;
};

#endif
