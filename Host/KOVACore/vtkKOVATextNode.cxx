#include "vtkKOVATextNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

#include <cstdlib>

vtkKOVANodeNewMacro(vtkKOVATextNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVATextNode);

namespace
{
bool IsValidEncoding(int encoding)
{
  return encoding >= VTK_ENCODING_NONE && encoding <= VTK_ENCODING_UNKNOWN;
}
}

//------------------------------------------------------------------------------
vtkKOVATextNode::vtkKOVATextNode()
  : Encoding(VTK_ENCODING_UTF_8)
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVATextNode", "Text");
}

vtkKOVATextNode::~vtkKOVATextNode() = default;

//------------------------------------------------------------------------------
void vtkKOVATextNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Encoding: " << this->GetEncodingAsString() << "\n";
  os << indent << "Text: " << this->Text << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVATextNode::SetText(const std::string& text, int encoding)
{
  if (encoding != -1 && !IsValidEncoding(encoding))
  {
    vtkErrorMacro("SetText: invalid encoding " << encoding);
    return;
  }
  KOVANodeModifyBlocker blocker(this);
  if (encoding != -1)
  {
    this->SetEncoding(encoding);
  }
  if (this->Text == text)
  {
    return;
  }
  this->Text = text;
  this->Modified();
  this->InvokeCustomModifiedEvent(TextModifiedEvent);
}

//------------------------------------------------------------------------------
void vtkKOVATextNode::SetEncoding(int encoding)
{
  if (!IsValidEncoding(encoding))
  {
    vtkErrorMacro("SetEncoding: invalid encoding " << encoding);
    return;
  }
  if (this->Encoding == encoding)
  {
    return;
  }
  this->Encoding = encoding;
  this->Modified();
}

//------------------------------------------------------------------------------
std::string vtkKOVATextNode::GetEncodingAsString()
{
  return GetEncodingAsString(this->Encoding);
}

std::string vtkKOVATextNode::GetEncodingAsString(int encoding)
{
  switch (encoding)
  {
    case VTK_ENCODING_NONE:
      return "None";
    case VTK_ENCODING_US_ASCII:
      return "US-ASCII";
    case VTK_ENCODING_UNICODE:
      return "Unicode";
    case VTK_ENCODING_UTF_8:
      return "UTF-8";
    default:
      break;
  }
  if (encoding >= VTK_ENCODING_ISO_8859_1 && encoding <= VTK_ENCODING_ISO_8859_16)
  {
    return "ISO-8859-" + std::to_string(encoding - VTK_ENCODING_ISO_8859_1 + 1);
  }
  return "Unknown";
}

//------------------------------------------------------------------------------
void vtkKOVATextNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    if (name == "text")
    {
      this->SetText(atts[i + 1]);
    }
    else if (name == "encoding")
    {
      char* end = nullptr;
      const long encoding = std::strtol(atts[i + 1], &end, 10);
      if (end != atts[i + 1] && *end == '\0')
      {
        this->SetEncoding(static_cast<int>(encoding));
      }
      else
      {
        vtkErrorMacro("ReadXMLAttributes: invalid encoding " << atts[i + 1]);
      }
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVATextNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " text=\"" << vtkKOVANode::XMLAttributeEncodeString(this->Text) << "\"";
  of << " encoding=\"" << this->Encoding << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVATextNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVATextNode* node = vtkKOVATextNode::SafeDownCast(anode);
  if (node)
  {
    this->SetText(node->Text, node->Encoding);
  }
}
