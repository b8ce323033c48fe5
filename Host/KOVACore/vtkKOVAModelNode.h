#ifndef vtkKOVAModelNode_h
#define vtkKOVAModelNode_h

#include "vtkKOVADisplayableNode.h"

#include <vtkSmartPointer.h>

#include <vtkPolyData.h> // for the smart pointer member

/// A surface model: poly data in world coordinates, shown through a model display node. The
/// node holds and observes its poly data: a change of it invokes PolyDataModifiedEvent.
class KOVACORE_EXPORT vtkKOVAModelNode : public vtkKOVADisplayableNode
{
public:
  static vtkKOVAModelNode* New();
  vtkTypeMacro(vtkKOVAModelNode, vtkKOVADisplayableNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum
  {
    /// The poly data was replaced or modified.
    PolyDataModifiedEvent = 18002,
    /// Another name of PolyDataModifiedEvent.
    MeshModifiedEvent = PolyDataModifiedEvent,
  };

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Model"; }
  /// Copies the poly data (a deep copy with \a deepCopy, else shared).
  vtkKOVACopyContentMacro(vtkKOVAModelNode);

  vtkPolyData* GetPolyData() { return this->PolyData; }
  /// Holds and observes \a polyData (null removes it).
  virtual void SetAndObservePolyData(vtkPolyData* polyData);

  /// Adds a vtkKOVAModelDisplayNode to the node's scene and refers to it, unless the node has a
  /// display node already. False when the node is not in a scene.
  bool CreateDefaultDisplayNodes() override;

protected:
  vtkKOVAModelNode();
  ~vtkKOVAModelNode() override;

  static void PolyDataCallback(vtkObject* caller,
    unsigned long eid,
    void* clientData,
    void* callData);

  vtkSmartPointer<vtkPolyData> PolyData;
  unsigned long PolyDataObserverTag = 0;

private:
  vtkKOVAModelNode(const vtkKOVAModelNode&) = delete;
  void operator=(const vtkKOVAModelNode&) = delete;
};

#endif
