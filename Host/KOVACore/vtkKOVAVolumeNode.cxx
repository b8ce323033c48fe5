#include "vtkKOVAVolumeNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkObjectFactory.h>

#include <sstream>

vtkKOVANodeNewMacro(vtkKOVAScalarVolumeNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAScalarVolumeNode);
vtkKOVANodeNewMacro(vtkKOVALabelMapVolumeNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVALabelMapVolumeNode);

vtkKOVAVolumeNode::vtkKOVAVolumeNode() = default;

vtkKOVAVolumeNode::~vtkKOVAVolumeNode()
{
  if (this->ImageData)
  {
    this->ImageData->RemoveObserver(this->ImageDataObserverTag);
  }
}

//------------------------------------------------------------------------------
void vtkKOVAVolumeNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "ImageData: " << this->ImageData.GetPointer() << "\n";
  os << indent << "Origin: " << this->Origin[0] << " " << this->Origin[1] << " " << this->Origin[2]
     << "\n";
  os << indent << "Spacing: " << this->Spacing[0] << " " << this->Spacing[1] << " "
     << this->Spacing[2] << "\n";
  os << indent << "IJKToRASDirections:";
  for (const auto& row : this->IJKToRASDirections)
  {
    os << " " << row[0] << " " << row[1] << " " << row[2];
  }
  os << "\n";
}

//------------------------------------------------------------------------------
vtkImageData* vtkKOVAVolumeNode::GetImageData()
{
  return this->ImageData;
}

void vtkKOVAVolumeNode::SetAndObserveImageData(vtkImageData* imageData)
{
  if (this->ImageData == imageData)
  {
    return;
  }
  if (this->ImageData)
  {
    this->ImageData->RemoveObserver(this->ImageDataObserverTag);
  }
  this->ImageData = imageData;
  if (imageData)
  {
    vtkNew<vtkCallbackCommand> command;
    command->SetClientData(this);
    command->SetCallback(&vtkKOVAVolumeNode::ImageDataModified);
    this->ImageDataObserverTag = imageData->AddObserver(vtkCommand::ModifiedEvent, command);
  }
  this->Modified();
  this->InvokeCustomModifiedEvent(ImageDataModifiedEvent, this);
}

void vtkKOVAVolumeNode::ImageDataModified(vtkObject*, unsigned long, void* clientData, void*)
{
  vtkKOVAVolumeNode* self = static_cast<vtkKOVAVolumeNode*>(clientData);
  self->Modified();
  self->InvokeCustomModifiedEvent(ImageDataModifiedEvent, self);
}

//------------------------------------------------------------------------------
void vtkKOVAVolumeNode::GetIJKToRASDirections(double dirs[3][3])
{
  for (int i = 0; i < 3; ++i)
  {
    for (int j = 0; j < 3; ++j)
    {
      dirs[i][j] = this->IJKToRASDirections[i][j];
    }
  }
}

void vtkKOVAVolumeNode::SetIJKToRASDirections(const double dirs[3][3])
{
  bool changed = false;
  for (int i = 0; i < 3; ++i)
  {
    for (int j = 0; j < 3; ++j)
    {
      if (this->IJKToRASDirections[i][j] != dirs[i][j])
      {
        this->IJKToRASDirections[i][j] = dirs[i][j];
        changed = true;
      }
    }
  }
  if (changed)
  {
    this->Modified();
  }
}

void vtkKOVAVolumeNode::GetIJKToRASMatrix(vtkMatrix4x4* matrix)
{
  if (!matrix)
  {
    return;
  }
  matrix->Identity();
  for (int row = 0; row < 3; ++row)
  {
    for (int axis = 0; axis < 3; ++axis)
    {
      matrix->SetElement(row, axis, this->IJKToRASDirections[axis][row] * this->Spacing[axis]);
    }
    matrix->SetElement(row, 3, this->Origin[row]);
  }
}

void vtkKOVAVolumeNode::SetIJKToRASMatrix(vtkMatrix4x4* matrix)
{
  if (!matrix)
  {
    vtkErrorMacro("SetIJKToRASMatrix: matrix is nullptr");
    return;
  }
  double spacing[3];
  double dirs[3][3];
  for (int axis = 0; axis < 3; ++axis)
  {
    double column[3] = {
      matrix->GetElement(0, axis), matrix->GetElement(1, axis), matrix->GetElement(2, axis)
    };
    spacing[axis] = vtkMath::Norm(column);
    if (spacing[axis] == 0.0)
    {
      vtkErrorMacro("SetIJKToRASMatrix: matrix is singular");
      return;
    }
    for (int row = 0; row < 3; ++row)
    {
      dirs[axis][row] = column[row] / spacing[axis];
    }
  }
  KOVANodeModifyBlocker blocker(this);
  this->SetSpacing(spacing);
  this->SetIJKToRASDirections(dirs);
  this->SetOrigin(matrix->GetElement(0, 3), matrix->GetElement(1, 3), matrix->GetElement(2, 3));
}

void vtkKOVAVolumeNode::GetRASToIJKMatrix(vtkMatrix4x4* matrix)
{
  if (!matrix)
  {
    return;
  }
  this->GetIJKToRASMatrix(matrix);
  matrix->Invert();
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
    if (name == "origin")
    {
      double v[3];
      if (in >> v[0] >> v[1] >> v[2])
      {
        this->SetOrigin(v);
      }
    }
    else if (name == "spacing")
    {
      double v[3];
      if (in >> v[0] >> v[1] >> v[2])
      {
        this->SetSpacing(v);
      }
    }
    else if (name == "ijkToRASDirections")
    {
      double d[3][3];
      if (in >> d[0][0] >> d[0][1] >> d[0][2] >> d[1][0] >> d[1][1] >> d[1][2] >> d[2][0] >>
          d[2][1] >> d[2][2])
      {
        this->SetIJKToRASDirections(d);
      }
    }
  }
}

void vtkKOVAVolumeNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  const std::streamsize oldPrecision = of.precision(17);
  of << " origin=\"" << this->Origin[0] << " " << this->Origin[1] << " " << this->Origin[2] << "\"";
  of << " spacing=\"" << this->Spacing[0] << " " << this->Spacing[1] << " " << this->Spacing[2]
     << "\"";
  of << " ijkToRASDirections=\"";
  for (int i = 0; i < 3; ++i)
  {
    for (int j = 0; j < 3; ++j)
    {
      of << (i || j ? " " : "") << this->IJKToRASDirections[i][j];
    }
  }
  of << "\"";
  of.precision(oldPrecision);
}

void vtkKOVAVolumeNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVAVolumeNode* node = vtkKOVAVolumeNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  this->SetOrigin(node->Origin);
  this->SetSpacing(node->Spacing);
  this->SetIJKToRASDirections(node->IJKToRASDirections);
  if (!deepCopy || !node->ImageData)
  {
    this->SetAndObserveImageData(node->ImageData);
    return;
  }
  vtkNew<vtkImageData> copy;
  copy->DeepCopy(node->ImageData);
  this->SetAndObserveImageData(copy);
}

//------------------------------------------------------------------------------
vtkKOVAScalarVolumeNode::vtkKOVAScalarVolumeNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAScalarVolumeNode", "Volume");
}
vtkKOVAScalarVolumeNode::~vtkKOVAScalarVolumeNode() = default;

vtkKOVALabelMapVolumeNode::vtkKOVALabelMapVolumeNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVALabelMapVolumeNode", "Labelmap Volume");
}
vtkKOVALabelMapVolumeNode::~vtkKOVALabelMapVolumeNode() = default;
