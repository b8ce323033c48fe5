#ifndef vtkKOVATransformableNode_h
#define vtkKOVATransformableNode_h

#include "vtkKOVADisplayableNode.h"

class vtkGeneralTransform;
class vtkKOVATransformNode;

/// A displayable node that can be placed under a transform node (reference role "transform").
/// Its node coordinates map to world coordinates through the parent transform and the parents of
/// that transform, in turn.
class KOVACORE_EXPORT vtkKOVATransformableNode : public vtkKOVADisplayableNode
{
public:
  vtkTypeMacro(vtkKOVATransformableNode, vtkKOVADisplayableNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  static constexpr const char* TransformNodeReferenceRole = "transform";

  enum
  {
    /// The parent transform (or one of its parents) changed, or another parent was chosen.
    TransformModifiedEvent = 15000,
  };

  /// Places the node under a transform node of its scene (null: directly in world coordinates).
  /// A transform node that would become its own ancestor is refused with an error.
  virtual bool SetAndObserveTransformNodeID(const char* transformNodeID);
  const char* GetTransformNodeID();
  vtkKOVATransformNode* GetParentTransformNode();

  /// Node-to-world transform (identity when there is no parent transform).
  void GetTransformToWorld(vtkGeneralTransform* transformToWorld);
  /// World-to-node transform.
  void GetTransformFromWorld(vtkGeneralTransform* transformFromWorld);
  /// True when node and world coordinates are the same (no parent transform).
  bool IsTransformedToWorldIdentity() { return this->GetParentTransformNode() == nullptr; }

  /// Latest modification time of the parent transform chain (0 without parent).
  vtkMTimeType GetTransformToWorldMTime();

protected:
  vtkKOVATransformableNode();
  ~vtkKOVATransformableNode() override;

  void ProcessKOVAEvents(vtkObject* caller, unsigned long event, void* callData) override;

private:
  vtkKOVATransformableNode(const vtkKOVATransformableNode&) = delete;
  void operator=(const vtkKOVATransformableNode&) = delete;
};

#endif
