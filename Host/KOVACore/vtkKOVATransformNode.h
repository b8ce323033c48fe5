#ifndef vtkKOVATransformNode_h
#define vtkKOVATransformNode_h

#include "vtkKOVATransformableNode.h"

#include <vtkSmartPointer.h>

#include <vtkAbstractTransform.h> // for the smart pointer member
class vtkMatrix4x4;

/// A node that holds a transform, linear or not, between its parent's coordinates and its own.
///
/// The node stores the transform in one direction (from parent or to parent) and gives the other
/// direction as the stored transform's inverse, which follows it. A change of the transform
/// (or of one it observes) makes the node invoke ModifiedEvent and TransformModifiedEvent.
class KOVACORE_EXPORT vtkKOVATransformNode : public vtkKOVATransformableNode
{
public:
  static vtkKOVATransformNode* New();
  vtkTypeMacro(vtkKOVATransformNode, vtkKOVATransformableNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Transform"; }
  void ReadXMLAttributes(const char** atts) override;
  /// Writes "matrixTransformToParent" for linear transforms; other transforms are not written.
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVATransformNode);

  /// Stores \a transform as the transform from parent (the node takes a reference and observes
  /// it); null removes the transform.
  void SetAndObserveTransformFromParent(vtkAbstractTransform* transform);
  /// Stores \a transform as the transform to parent.
  void SetAndObserveTransformToParent(vtkAbstractTransform* transform);
  /// The transform from parent (the stored one or the inverse of the stored one), or null.
  vtkAbstractTransform* GetTransformFromParent();
  vtkAbstractTransform* GetTransformToParent();

  /// The transform from parent if it is of class \a transformClassName (IsA), or the only
  /// transform of a vtkGeneralTransform that holds one transform of that class; otherwise null,
  /// with an error message when \a logErrorIfFails. With \a allowNullTransform a node without a
  /// transform gives null silently.
  vtkAbstractTransform* GetTransformFromParentAs(const char* transformClassName,
    bool logErrorIfFails = true,
    bool allowNullTransform = false);
  vtkAbstractTransform* GetTransformToParentAs(const char* transformClassName,
    bool logErrorIfFails = true,
    bool allowNullTransform = false);

  /// True when the transform is linear (or there is none).
  bool IsLinear();
  /// Linear transforms as a matrix: the getter returns false (and identity) for non-linear ones.
  bool GetMatrixTransformToParent(vtkMatrix4x4* matrix);
  void SetMatrixTransformToParent(vtkMatrix4x4* matrix);

protected:
  vtkKOVATransformNode();
  ~vtkKOVATransformNode() override;

  void SetAndObserveTransform(vtkAbstractTransform* transform, bool fromParent);
  vtkAbstractTransform* GetTransformAs(vtkAbstractTransform* transform,
    const char* method,
    const char* transformClassName,
    bool logErrorIfFails,
    bool allowNullTransform);
  void OnTransformModified();
  static void TransformCallback(vtkObject* caller,
    unsigned long eid,
    void* clientData,
    void* callData);

  /// The stored transform and its direction.
  vtkSmartPointer<vtkAbstractTransform> StoredTransform;
  bool StoredIsFromParent = true;
  unsigned long TransformObserverTag = 0;

private:
  vtkKOVATransformNode(const vtkKOVATransformNode&) = delete;
  void operator=(const vtkKOVATransformNode&) = delete;
};

#endif
