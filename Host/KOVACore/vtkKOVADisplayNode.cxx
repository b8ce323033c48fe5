#include "vtkKOVADisplayNode.h"

#include "vtkKOVAColorTableNode.h"
#include "vtkKOVADisplayableNode.h"
#include "vtkKOVAScene.h"

#include <algorithm>
#include <sstream>

vtkKOVADisplayNode::vtkKOVADisplayNode() = default;
vtkKOVADisplayNode::~vtkKOVADisplayNode() = default;

//------------------------------------------------------------------------------
void vtkKOVADisplayNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Visibility: " << this->Visibility << "\n";
  os << indent << "Visibility2D: " << this->Visibility2D << "\n";
  os << indent << "Visibility3D: " << this->Visibility3D << "\n";
  os << indent << "Color: " << this->Color[0] << " " << this->Color[1] << " " << this->Color[2]
     << "\n";
  os << indent << "Opacity: " << this->Opacity << "\n";
  os << indent << "ViewNodeIDs:";
  for (const std::string& id : this->ViewNodeIDs)
  {
    os << " " << id;
  }
  os << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVADisplayNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const std::string value = atts[i + 1];
    if (name == "visibility")
    {
      this->SetVisibility(value == "true");
    }
    else if (name == "visibility2D")
    {
      this->SetVisibility2D(value == "true");
    }
    else if (name == "visibility3D")
    {
      this->SetVisibility3D(value == "true");
    }
    else if (name == "color")
    {
      std::istringstream in(value);
      double c[3] = { 0.0, 0.0, 0.0 };
      if (in >> c[0] >> c[1] >> c[2])
      {
        this->SetColor(c);
      }
    }
    else if (name == "opacity")
    {
      std::istringstream in(value);
      double opacity = 1.0;
      if (in >> opacity)
      {
        this->SetOpacity(opacity);
      }
    }
    else if (name == "viewNodeRef")
    {
      this->RemoveAllViewNodeIDs();
      std::istringstream in(value);
      std::string id;
      while (in >> id)
      {
        this->AddViewNodeID(vtkKOVANode::XMLAttributeDecodeString(id).c_str());
      }
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVADisplayNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " visibility=\"" << (this->Visibility ? "true" : "false") << "\"";
  of << " visibility2D=\"" << (this->Visibility2D ? "true" : "false") << "\"";
  of << " visibility3D=\"" << (this->Visibility3D ? "true" : "false") << "\"";
  of << " color=\"" << this->Color[0] << " " << this->Color[1] << " " << this->Color[2] << "\"";
  of << " opacity=\"" << this->Opacity << "\"";
  if (!this->ViewNodeIDs.empty())
  {
    std::string ids;
    for (const std::string& id : this->ViewNodeIDs)
    {
      // Blanks separate the IDs, so an ID's own blanks and percent signs are escaped.
      std::string escaped;
      for (char c : id)
      {
        escaped += c == ' '   ? std::string("%20")
                   : c == '%' ? std::string("%25")
                              : std::string(1, c);
      }
      ids += (ids.empty() ? "" : " ") + escaped;
    }
    of << " viewNodeRef=\"" << vtkKOVANode::XMLAttributeEncodeString(ids) << "\"";
  }
}

//------------------------------------------------------------------------------
void vtkKOVADisplayNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVADisplayNode* node = vtkKOVADisplayNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  this->SetVisibility(node->Visibility);
  this->SetVisibility2D(node->Visibility2D);
  this->SetVisibility3D(node->Visibility3D);
  this->SetColor(node->Color);
  this->SetOpacity(node->Opacity);
  if (this->ViewNodeIDs != node->ViewNodeIDs)
  {
    this->ViewNodeIDs = node->ViewNodeIDs;
    this->Modified();
  }
}

//------------------------------------------------------------------------------
void vtkKOVADisplayNode::AddViewNodeID(const char* viewNodeID)
{
  if (!viewNodeID || !*viewNodeID || this->IsViewNodeIDPresent(viewNodeID))
  {
    return;
  }
  this->ViewNodeIDs.emplace_back(viewNodeID);
  this->Modified();
}

//------------------------------------------------------------------------------
void vtkKOVADisplayNode::RemoveViewNodeID(const char* viewNodeID)
{
  if (!viewNodeID)
  {
    return;
  }
  const auto it = std::find(this->ViewNodeIDs.begin(), this->ViewNodeIDs.end(), viewNodeID);
  if (it != this->ViewNodeIDs.end())
  {
    this->ViewNodeIDs.erase(it);
    this->Modified();
  }
}

//------------------------------------------------------------------------------
void vtkKOVADisplayNode::RemoveAllViewNodeIDs()
{
  if (this->ViewNodeIDs.empty())
  {
    return;
  }
  this->ViewNodeIDs.clear();
  this->Modified();
}

//------------------------------------------------------------------------------
const char* vtkKOVADisplayNode::GetNthViewNodeID(int n)
{
  if (n < 0 || n >= static_cast<int>(this->ViewNodeIDs.size()))
  {
    return nullptr;
  }
  return this->ViewNodeIDs[static_cast<size_t>(n)].c_str();
}

//------------------------------------------------------------------------------
bool vtkKOVADisplayNode::IsViewNodeIDPresent(const char* viewNodeID)
{
  return viewNodeID && std::find(this->ViewNodeIDs.begin(), this->ViewNodeIDs.end(), viewNodeID) !=
                         this->ViewNodeIDs.end();
}

//------------------------------------------------------------------------------
bool vtkKOVADisplayNode::IsDisplayableInView(const char* viewNodeID)
{
  return this->ViewNodeIDs.empty() || this->IsViewNodeIDPresent(viewNodeID);
}

//------------------------------------------------------------------------------
vtkKOVADisplayableNode* vtkKOVADisplayNode::GetDisplayableNode()
{
  if (!this->Scene || !this->ID)
  {
    return nullptr;
  }
  for (const auto& node : this->Scene->GetNodes())
  {
    vtkKOVADisplayableNode* displayable = vtkKOVADisplayableNode::SafeDownCast(node);
    if (displayable &&
        displayable->HasNodeReferenceID(vtkKOVADisplayableNode::DisplayNodeReferenceRole, this->ID))
    {
      return displayable;
    }
  }
  return nullptr;
}

//------------------------------------------------------------------------------
vtkKOVAColorTableNode* vtkKOVADisplayNode::GetColorNode()
{
  return vtkKOVAColorTableNode::SafeDownCast(this->GetNodeReference(ColorNodeReferenceRole));
}

const char* vtkKOVADisplayNode::GetColorNodeID()
{
  return this->GetNodeReferenceID(ColorNodeReferenceRole);
}

void vtkKOVADisplayNode::SetAndObserveColorNodeID(const char* colorNodeID)
{
  this->SetAndObserveNodeReferenceID(ColorNodeReferenceRole, colorNodeID);
}
