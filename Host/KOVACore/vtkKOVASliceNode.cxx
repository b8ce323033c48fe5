#include "vtkKOVASliceNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <algorithm>
#include <sstream>

vtkKOVANodeNewMacro(vtkKOVASliceNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVASliceNode);

vtkKOVASliceNode::vtkKOVASliceNode()
  : SliceToRAS(vtkSmartPointer<vtkMatrix4x4>::New())
  , XYToRAS(vtkSmartPointer<vtkMatrix4x4>::New())
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVASliceNode", "Slice View");
}

vtkKOVASliceNode::~vtkKOVASliceNode() = default;

//------------------------------------------------------------------------------
void vtkKOVASliceNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Orientation: " << this->Orientation << "\n";
  os << indent << "DefaultOrientation: " << this->DefaultOrientation << "\n";
  os << indent << "FieldOfView: " << this->FieldOfView[0] << " " << this->FieldOfView[1] << " "
     << this->FieldOfView[2] << "\n";
  os << indent << "SliceVisible: " << this->SliceVisible << "\n";
  os << indent << "UseLabelOutline: " << this->UseLabelOutline << "\n";
  os << indent << "Dimensions: " << this->Dimensions[0] << " " << this->Dimensions[1] << " "
     << this->Dimensions[2] << "\n";
  os << indent << "SliceToRAS:\n";
  this->SliceToRAS->PrintSelf(os, indent.GetNextIndent());
}

//------------------------------------------------------------------------------
// Slice geometry.
bool vtkKOVASliceNode::SetSliceToRASByNTP(const double n[3], const double t[3], const double p[3])
{
  double normal[3] = { n[0], n[1], n[2] };
  double x[3] = { t[0], t[1], t[2] };
  if (vtkMath::Normalize(normal) == 0.0)
  {
    vtkErrorMacro("SetSliceToRASByNTP: the normal is a zero vector");
    return false;
  }
  // Remove the normal's component from the x axis.
  const double along = vtkMath::Dot(x, normal);
  for (int i = 0; i < 3; ++i)
  {
    x[i] -= along * normal[i];
  }
  if (vtkMath::Normalize(x) < 1e-12)
  {
    vtkErrorMacro("SetSliceToRASByNTP: the x axis is zero or parallel to the normal");
    return false;
  }
  double y[3];
  vtkMath::Cross(normal, x, y);
  for (int i = 0; i < 3; ++i)
  {
    this->SliceToRAS->SetElement(i, 0, x[i]);
    this->SliceToRAS->SetElement(i, 1, y[i]);
    this->SliceToRAS->SetElement(i, 2, normal[i]);
    this->SliceToRAS->SetElement(i, 3, p[i]);
  }
  this->UpdateMatrices();
  return true;
}

void vtkKOVASliceNode::SetDimensions(int x, int y, int z)
{
  x = std::max(x, 1);
  y = std::max(y, 1);
  z = std::max(z, 1);
  if (this->Dimensions[0] != x || this->Dimensions[1] != y || this->Dimensions[2] != z)
  {
    this->Dimensions[0] = x;
    this->Dimensions[1] = y;
    this->Dimensions[2] = z;
    this->Modified();
  }
}

vtkMatrix4x4* vtkKOVASliceNode::GetXYToRAS()
{
  this->ComputeXYToRAS();
  return this->XYToRAS;
}

void vtkKOVASliceNode::UpdateMatrices()
{
  this->ComputeXYToRAS();
  this->Modified();
}

void vtkKOVASliceNode::ComputeXYToRAS()
{
  // XY to slice: pixels scaled to millimetres, the view centre at the slice origin.
  vtkNew<vtkMatrix4x4> xyToSlice;
  for (int i = 0; i < 3; ++i)
  {
    const double spacing = this->FieldOfView[i] / this->Dimensions[i];
    xyToSlice->SetElement(i, i, spacing);
    xyToSlice->SetElement(i, 3, i < 2 ? -0.5 * this->FieldOfView[i] : 0.0);
  }
  vtkMatrix4x4::Multiply4x4(this->SliceToRAS, xyToSlice, this->XYToRAS);
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::SetOrientation(const std::string& orientation)
{
  if (this->Orientation != orientation)
  {
    this->Orientation = orientation;
    this->Modified();
  }
}

void vtkKOVASliceNode::SetDefaultOrientation(const std::string& orientation)
{
  if (this->DefaultOrientation != orientation)
  {
    this->DefaultOrientation = orientation;
    this->Modified();
  }
}

void vtkKOVASliceNode::SetOrientationToDefault()
{
  if (!this->DefaultOrientation.empty())
  {
    this->SetOrientation(this->DefaultOrientation);
  }
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const std::string value = atts[i + 1];
    if (name == "orientation")
    {
      this->SetOrientation(value);
    }
    else if (name == "defaultOrientation")
    {
      this->SetDefaultOrientation(value);
    }
    else if (name == "fieldOfView")
    {
      std::istringstream in(value);
      double fov[3];
      if (in >> fov[0] >> fov[1] >> fov[2])
      {
        this->SetFieldOfView(fov);
      }
    }
    else if (name == "sliceVisible")
    {
      this->SetSliceVisible(value == "true");
    }
    else if (name == "useLabelOutline")
    {
      this->SetUseLabelOutline(value == "true");
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " orientation=\"" << XMLAttributeEncodeString(this->Orientation) << "\"";
  of << " defaultOrientation=\"" << XMLAttributeEncodeString(this->DefaultOrientation) << "\"";
  of << " fieldOfView=\"" << this->FieldOfView[0] << " " << this->FieldOfView[1] << " "
     << this->FieldOfView[2] << "\"";
  of << " sliceVisible=\"" << (this->SliceVisible ? "true" : "false") << "\"";
  of << " useLabelOutline=\"" << (this->UseLabelOutline ? "true" : "false") << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVASliceNode* node = vtkKOVASliceNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  this->SetOrientation(node->Orientation);
  this->SetDefaultOrientation(node->DefaultOrientation);
  this->SetFieldOfView(node->FieldOfView);
  this->SetSliceVisible(node->SliceVisible);
  this->SetUseLabelOutline(node->UseLabelOutline);
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::Reset(vtkKOVANode* defaultNode)
{
  KOVANodeModifyBlocker blocker(this);
  const std::string orientation = this->Orientation;
  const std::string defaultOrientation = this->DefaultOrientation;
  this->Superclass::Reset(defaultNode);
  this->SetOrientation(orientation);
  this->SetDefaultOrientation(defaultOrientation);
}
