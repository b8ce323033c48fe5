#ifndef vtkKOVATextNode_h
#define vtkKOVATextNode_h

#include "vtkKOVANode.h"

/// A node that holds a text and the text's encoding (a VTK_ENCODING_* value, UTF-8 by default).
class KOVACORE_EXPORT vtkKOVATextNode : public vtkKOVANode
{
public:
  static vtkKOVATextNode* New();
  vtkTypeMacro(vtkKOVATextNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum
  {
    /// The text changed (invoked after ModifiedEvent, once per change).
    TextModifiedEvent = 51000,
  };

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Text"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVATextNode);

  virtual std::string GetText() { return this->Text; }
  /// Stores the text, and the encoding unless it is -1 (keep the current one). Invokes
  /// TextModifiedEvent when the text changes. An encoding outside VTK's range is an error and
  /// changes nothing.
  virtual void SetText(const std::string& text, int encoding = -1);

  vtkGetMacro(Encoding, int);
  /// An encoding outside VTK_ENCODING_NONE .. VTK_ENCODING_UNKNOWN is an error and ignored.
  virtual void SetEncoding(int encoding);
  /// "None", "US-ASCII", "Unicode", "UTF-8", "ISO-8859-1" ... "ISO-8859-16" or "Unknown".
  std::string GetEncodingAsString();
  static std::string GetEncodingAsString(int encoding);

protected:
  vtkKOVATextNode();
  ~vtkKOVATextNode() override;

  std::string Text;
  int Encoding;

private:
  vtkKOVATextNode(const vtkKOVATextNode&) = delete;
  void operator=(const vtkKOVATextNode&) = delete;
};

#endif
