#include "vtkKOVATransformNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkAbstractTransform.h>
#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkGeneralTransform.h>
#include <vtkLinearTransform.h>
#include <vtkMatrix4x4.h>
#include <vtkObjectFactory.h>
#include <vtkTransform.h>

#include <sstream>

vtkKOVANodeNewMacro(vtkKOVATransformNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVATransformNode);

//------------------------------------------------------------------------------
vtkKOVATransformNode::vtkKOVATransformNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVATransformNode", "Transform");
}

vtkKOVATransformNode::~vtkKOVATransformNode()
{
  this->SetAndObserveTransform(nullptr, true);
}

//------------------------------------------------------------------------------
void vtkKOVATransformNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "StoredTransform: "
     << (this->StoredTransform ? this->StoredTransform->GetClassName() : "(none)")
     << (this->StoredIsFromParent ? " (from parent)" : " (to parent)") << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVATransformNode::SetAndObserveTransformFromParent(vtkAbstractTransform* transform)
{
  this->SetAndObserveTransform(transform, true);
}

void vtkKOVATransformNode::SetAndObserveTransformToParent(vtkAbstractTransform* transform)
{
  this->SetAndObserveTransform(transform, false);
}

void vtkKOVATransformNode::SetAndObserveTransform(vtkAbstractTransform* transform, bool fromParent)
{
  if (this->StoredTransform == transform && this->StoredIsFromParent == fromParent)
  {
    return;
  }
  if (this->StoredTransform && this->TransformObserverTag)
  {
    this->StoredTransform->RemoveObserver(this->TransformObserverTag);
    this->TransformObserverTag = 0;
  }
  this->StoredTransform = transform;
  this->StoredIsFromParent = fromParent;
  if (this->StoredTransform)
  {
    vtkNew<vtkCallbackCommand> command;
    command->SetClientData(this);
    command->SetCallback(&vtkKOVATransformNode::TransformCallback);
    this->TransformObserverTag =
      this->StoredTransform->AddObserver(vtkCommand::ModifiedEvent, command);
  }
  this->OnTransformModified();
}

void vtkKOVATransformNode::TransformCallback(vtkObject* vtkNotUsed(caller),
  unsigned long vtkNotUsed(eid),
  void* clientData,
  void* vtkNotUsed(callData))
{
  static_cast<vtkKOVATransformNode*>(clientData)->OnTransformModified();
}

void vtkKOVATransformNode::OnTransformModified()
{
  this->Modified();
  this->InvokeCustomModifiedEvent(TransformModifiedEvent);
}

//------------------------------------------------------------------------------
vtkAbstractTransform* vtkKOVATransformNode::GetTransformFromParent()
{
  if (!this->StoredTransform)
  {
    return nullptr;
  }
  return this->StoredIsFromParent ? this->StoredTransform.GetPointer()
                                  : this->StoredTransform->GetInverse();
}

vtkAbstractTransform* vtkKOVATransformNode::GetTransformToParent()
{
  if (!this->StoredTransform)
  {
    return nullptr;
  }
  return this->StoredIsFromParent ? this->StoredTransform->GetInverse()
                                  : this->StoredTransform.GetPointer();
}

//------------------------------------------------------------------------------
vtkAbstractTransform* vtkKOVATransformNode::GetTransformFromParentAs(const char* transformClassName,
  bool logErrorIfFails,
  bool allowNullTransform)
{
  return this->GetTransformAs(this->GetTransformFromParent(),
    "GetTransformFromParentAs",
    transformClassName,
    logErrorIfFails,
    allowNullTransform);
}

vtkAbstractTransform* vtkKOVATransformNode::GetTransformToParentAs(const char* transformClassName,
  bool logErrorIfFails,
  bool allowNullTransform)
{
  return this->GetTransformAs(this->GetTransformToParent(),
    "GetTransformToParentAs",
    transformClassName,
    logErrorIfFails,
    allowNullTransform);
}

vtkAbstractTransform* vtkKOVATransformNode::GetTransformAs(vtkAbstractTransform* transform,
  const char* method,
  const char* transformClassName,
  bool logErrorIfFails,
  bool allowNullTransform)
{
  if (!transformClassName)
  {
    vtkErrorMacro(<< method << ": transformClassName is nullptr");
    return nullptr;
  }
  if (!transform)
  {
    if (!allowNullTransform && logErrorIfFails)
    {
      vtkErrorMacro(<< method << ": the node holds no transform");
    }
    return nullptr;
  }
  if (transform->IsA(transformClassName))
  {
    return transform;
  }
  if (auto* general = vtkGeneralTransform::SafeDownCast(transform))
  {
    if (general->GetNumberOfConcatenatedTransforms() == 1)
    {
      vtkAbstractTransform* inner = general->GetConcatenatedTransform(0);
      if (inner && inner->IsA(transformClassName))
      {
        return inner;
      }
    }
  }
  if (logErrorIfFails)
  {
    vtkErrorMacro(<< method << ": the transform is a " << transform->GetClassName() << ", not a "
                  << transformClassName);
  }
  return nullptr;
}

//------------------------------------------------------------------------------
bool vtkKOVATransformNode::IsLinear()
{
  return !this->StoredTransform || this->StoredTransform->IsA("vtkLinearTransform");
}

bool vtkKOVATransformNode::GetMatrixTransformToParent(vtkMatrix4x4* matrix)
{
  if (!matrix)
  {
    vtkErrorMacro("GetMatrixTransformToParent: matrix is nullptr");
    return false;
  }
  matrix->Identity();
  if (!this->StoredTransform)
  {
    return true;
  }
  auto* linear = vtkLinearTransform::SafeDownCast(this->GetTransformToParent());
  if (!linear)
  {
    return false;
  }
  linear->GetMatrix(matrix);
  return true;
}

void vtkKOVATransformNode::SetMatrixTransformToParent(vtkMatrix4x4* matrix)
{
  vtkNew<vtkTransform> transform;
  if (matrix)
  {
    transform->SetMatrix(matrix);
  }
  this->SetAndObserveTransformToParent(transform);
}

//------------------------------------------------------------------------------
void vtkKOVATransformNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "matrixTransformToParent") == 0)
    {
      std::istringstream in(atts[i + 1]);
      double elements[16];
      int count = 0;
      while (count < 16 && in >> elements[count])
      {
        ++count;
      }
      if (count != 16)
      {
        vtkErrorMacro("ReadXMLAttributes: matrixTransformToParent needs 16 numbers");
        continue;
      }
      vtkNew<vtkMatrix4x4> matrix;
      matrix->DeepCopy(elements);
      this->SetMatrixTransformToParent(matrix);
    }
  }
}

void vtkKOVATransformNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  vtkNew<vtkMatrix4x4> matrix;
  if (this->StoredTransform && this->GetMatrixTransformToParent(matrix))
  {
    std::ostringstream text;
    text.precision(17);
    for (int i = 0; i < 16; ++i)
    {
      text << (i ? " " : "") << matrix->GetElement(i / 4, i % 4);
    }
    of << " matrixTransformToParent=\"" << text.str() << "\"";
  }
}

//------------------------------------------------------------------------------
void vtkKOVATransformNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  auto* node = vtkKOVATransformNode::SafeDownCast(anode);
  if (!node || node == this)
  {
    return;
  }
  if (!node->StoredTransform)
  {
    this->SetAndObserveTransform(nullptr, node->StoredIsFromParent);
    return;
  }
  if (!deepCopy)
  {
    this->SetAndObserveTransform(node->StoredTransform, node->StoredIsFromParent);
    return;
  }
  vtkSmartPointer<vtkAbstractTransform> copy;
  copy.TakeReference(node->StoredTransform->MakeTransform());
  copy->DeepCopy(node->StoredTransform);
  this->SetAndObserveTransform(copy, node->StoredIsFromParent);
}
