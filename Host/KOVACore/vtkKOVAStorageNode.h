#ifndef vtkKOVAStorageNode_h
#define vtkKOVAStorageNode_h

#include "vtkKOVANode.h"

#include <vtkTimeStamp.h>

#include <string>

class vtkKOVAMessageCollection;

/// Base of the nodes that read a node's content from a file.
///
/// ReadData clears the user messages, checks the reference node and the file name and calls
/// ReadDataInternal, which fills the node only when the whole file could be read. What went wrong
/// is told in the user messages (for the user; nothing goes to the error output).
class KOVACORE_EXPORT vtkKOVAStorageNode : public vtkKOVANode
{
public:
  vtkTypeMacro(vtkKOVAStorageNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAStorageNode);

  vtkGetStringMacro(FileName);
  vtkSetStringMacro(FileName);

  /// Reads the file into \a refNode. Returns 1 on success, 0 on failure (with user messages).
  /// Reading a temporary file fills the node without marking it as stored in the file (the
  /// stored time is left alone).
  virtual int ReadData(vtkKOVANode* refNode, bool temporaryFile = false);

  /// True when this storage node can fill \a refNode (its class).
  virtual bool CanReadInReferenceNode(vtkKOVANode* refNode) = 0;

  /// Messages of the last read. The storage node owns the collection.
  vtkKOVAMessageCollection* GetUserMessages();

  /// When the node's content was last read from (not temporary) file; 0 before.
  vtkMTimeType GetStoredTime() { return this->StoredTime.GetMTime(); }

  /// The file name's last extension with its dot, in lower case (".csv" for "a/b.Data.CSV"), or
  /// the empty string when the file name has none.
  static std::string GetLowercaseExtensionFromFileName(const std::string& fileName);

protected:
  vtkKOVAStorageNode();
  ~vtkKOVAStorageNode() override;

  /// Reads the file into the node; 1 on success. Failures add an error to the user messages.
  virtual int ReadDataInternal(vtkKOVANode* refNode) = 0;

  /// Shorthands for the subclasses' messages.
  void AddErrorMessage(const std::string& text);
  void AddWarningMessage(const std::string& text);

  char* FileName = nullptr;
  vtkSmartPointer<vtkKOVAMessageCollection> UserMessages;
  vtkTimeStamp StoredTime;

private:
  vtkKOVAStorageNode(const vtkKOVAStorageNode&) = delete;
  void operator=(const vtkKOVAStorageNode&) = delete;
};

#endif
