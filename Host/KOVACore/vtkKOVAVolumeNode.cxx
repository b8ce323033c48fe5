#include "vtkKOVAVolumeNode.h"

#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>

#include <algorithm>
#include <sstream>

vtkKOVAVolumeNode::vtkKOVAVolumeNode() = default;

vtkKOVAVolumeNode::~vtkKOVAVolumeNode()
{
  if (this->ImageData && this->ImageObserverTag)
  {
    this->ImageData->RemoveObserver(this->ImageObserverTag);
  }
}

//------------------------------------------------------------------------------
void vtkKOVAVolumeNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Spacing: " << this->Spacing[0] << " " << this->Spacing[1] << " "
     << this->Spacing[2] << "\n";
  os << indent << "Origin: " << this->Origin[0] << " " << this->Origin[1] << " " << this->Origin[2]
     << "\n";
  os << indent << "IJKToRASDirections:";
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      os << " " << this->IJKToRASDirections[r][c];
    }
  }
  os << "\n";
  os << indent << "ImageData: " << (this->ImageData ? "set" : "(none)") << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAVolumeNode::SetAndObserveImageData(vtkImageData* imageData)
{
  if (this->ImageData == imageData)
  {
    return;
  }
  if (this->ImageData && this->ImageObserverTag)
  {
    this->ImageData->RemoveObserver(this->ImageObserverTag);
    this->ImageObserverTag = 0;
  }
  this->ImageData = imageData;
  if (this->ImageData)
  {
    vtkNew<vtkCallbackCommand> command;
    command->SetClientData(this);
    command->SetCallback(&vtkKOVAVolumeNode::ImageCallback);
    this->ImageObserverTag = this->ImageData->AddObserver(vtkCommand::ModifiedEvent, command);
  }
  this->Modified();
  this->InvokeCustomModifiedEvent(ImageDataModifiedEvent);
}

void vtkKOVAVolumeNode::ImageCallback(vtkObject* vtkNotUsed(caller),
  unsigned long vtkNotUsed(eid),
  void* clientData,
  void* vtkNotUsed(callData))
{
  auto* self = static_cast<vtkKOVAVolumeNode*>(clientData);
  self->InvokeCustomModifiedEvent(ImageDataModifiedEvent);
}

//------------------------------------------------------------------------------
void vtkKOVAVolumeNode::GetIJKToRASMatrix(vtkMatrix4x4* matrix)
{
  if (!matrix)
  {
    vtkErrorMacro("GetIJKToRASMatrix: matrix is nullptr");
    return;
  }
  matrix->Identity();
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      matrix->SetElement(r, c, this->IJKToRASDirections[r][c] * this->Spacing[c]);
    }
    matrix->SetElement(r, 3, this->Origin[r]);
  }
}

void vtkKOVAVolumeNode::GetRASToIJKMatrix(vtkMatrix4x4* matrix)
{
  if (!matrix)
  {
    vtkErrorMacro("GetRASToIJKMatrix: matrix is nullptr");
    return;
  }
  this->GetIJKToRASMatrix(matrix);
  matrix->Invert();
}

void vtkKOVAVolumeNode::SetIJKToRASMatrix(vtkMatrix4x4* matrix)
{
  if (!matrix)
  {
    vtkErrorMacro("SetIJKToRASMatrix: matrix is nullptr");
    return;
  }
  double spacing[3];
  double directions[3][3];
  for (int c = 0; c < 3; ++c)
  {
    double column[3] = {
      matrix->GetElement(0, c), matrix->GetElement(1, c), matrix->GetElement(2, c)
    };
    spacing[c] = vtkMath::Normalize(column);
    if (spacing[c] == 0.0)
    {
      vtkErrorMacro("SetIJKToRASMatrix: column " << c << " has zero length");
      return;
    }
    for (int r = 0; r < 3; ++r)
    {
      directions[r][c] = column[r];
    }
  }
  KOVANodeModifyBlocker blocker(this);
  this->SetSpacing(spacing);
  this->SetIJKToRASDirections(directions);
  this->SetOrigin(matrix->GetElement(0, 3), matrix->GetElement(1, 3), matrix->GetElement(2, 3));
}

void vtkKOVAVolumeNode::GetIJKToRASDirections(double directions[3][3])
{
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      directions[r][c] = this->IJKToRASDirections[r][c];
    }
  }
}

void vtkKOVAVolumeNode::SetIJKToRASDirections(const double directions[3][3])
{
  bool changed = false;
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      if (this->IJKToRASDirections[r][c] != directions[r][c])
      {
        this->IJKToRASDirections[r][c] = directions[r][c];
        changed = true;
      }
    }
  }
  if (changed)
  {
    this->Modified();
  }
}

void vtkKOVAVolumeNode::GetIJKToRASDirectionMatrix(vtkMatrix4x4* matrix)
{
  if (!matrix)
  {
    vtkErrorMacro("GetIJKToRASDirectionMatrix: matrix is nullptr");
    return;
  }
  matrix->Identity();
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      matrix->SetElement(r, c, this->IJKToRASDirections[r][c]);
    }
  }
}

//------------------------------------------------------------------------------
bool vtkKOVAVolumeNode::GetRASBounds(double bounds[6])
{
  vtkMath::UninitializeBounds(bounds);
  if (!this->ImageData)
  {
    return false;
  }
  int extent[6];
  this->ImageData->GetExtent(extent);
  if (extent[0] > extent[1] || extent[2] > extent[3] || extent[4] > extent[5])
  {
    return false;
  }
  vtkNew<vtkMatrix4x4> ijkToRAS;
  this->GetIJKToRASMatrix(ijkToRAS);
  for (int i = 0; i < 3; ++i)
  {
    bounds[2 * i] = VTK_DOUBLE_MAX;
    bounds[2 * i + 1] = VTK_DOUBLE_MIN;
  }
  for (int corner = 0; corner < 8; ++corner)
  {
    const double ijk[4] = { static_cast<double>(extent[(corner & 1) ? 1 : 0]),
      static_cast<double>(extent[(corner & 2) ? 3 : 2]),
      static_cast<double>(extent[(corner & 4) ? 5 : 4]),
      1.0 };
    double ras[4];
    ijkToRAS->MultiplyPoint(ijk, ras);
    for (int i = 0; i < 3; ++i)
    {
      bounds[2 * i] = std::min(bounds[2 * i], ras[i]);
      bounds[2 * i + 1] = std::max(bounds[2 * i + 1], ras[i]);
    }
  }
  return true;
}

//------------------------------------------------------------------------------
void vtkKOVAVolumeNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    std::istringstream in(atts[i + 1]);
    if (name == "spacing" || name == "origin")
    {
      double v[3];
      if (in >> v[0] >> v[1] >> v[2])
      {
        name == "spacing" ? this->SetSpacing(v) : this->SetOrigin(v);
      }
      else
      {
        vtkErrorMacro("ReadXMLAttributes: " << name << " needs 3 numbers");
      }
    }
    else if (name == "ijkToRASDirections")
    {
      double d[3][3];
      bool ok = true;
      for (int r = 0; r < 3 && ok; ++r)
      {
        for (int c = 0; c < 3 && ok; ++c)
        {
          ok = static_cast<bool>(in >> d[r][c]);
        }
      }
      if (ok)
      {
        this->SetIJKToRASDirections(d);
      }
      else
      {
        vtkErrorMacro("ReadXMLAttributes: ijkToRASDirections needs 9 numbers");
      }
    }
  }
}

void vtkKOVAVolumeNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  std::ostringstream text;
  text.precision(17);
  text << " spacing=\"" << this->Spacing[0] << " " << this->Spacing[1] << " " << this->Spacing[2]
       << "\"";
  text << " origin=\"" << this->Origin[0] << " " << this->Origin[1] << " " << this->Origin[2]
       << "\"";
  text << " ijkToRASDirections=\"";
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      text << ((r || c) ? " " : "") << this->IJKToRASDirections[r][c];
    }
  }
  text << "\"";
  of << text.str();
}

//------------------------------------------------------------------------------
void vtkKOVAVolumeNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  auto* node = vtkKOVAVolumeNode::SafeDownCast(anode);
  if (!node || node == this)
  {
    return;
  }
  this->SetSpacing(node->Spacing);
  this->SetOrigin(node->Origin);
  this->SetIJKToRASDirections(node->IJKToRASDirections);
  if (deepCopy && node->ImageData)
  {
    vtkNew<vtkImageData> image;
    image->DeepCopy(node->ImageData);
    this->SetAndObserveImageData(image);
  }
  else
  {
    this->SetAndObserveImageData(node->ImageData);
  }
}
