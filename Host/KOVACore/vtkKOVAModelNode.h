#ifndef vtkKOVAModelNode_h
#define vtkKOVAModelNode_h

#include "vtkKOVADisplayableNode.h"

class vtkPolyData;

/// A surface model: a displayable node holding poly data (not written to the scene file).
class KOVACORE_EXPORT vtkKOVAModelNode : public vtkKOVADisplayableNode
{
public:
  static vtkKOVAModelNode* New();
  vtkTypeMacro(vtkKOVAModelNode, vtkKOVADisplayableNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum
  {
    /// The poly data was replaced or modified.
    MeshModifiedEvent = 17001,
  };

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Model"; }
  vtkKOVACopyContentMacro(vtkKOVAModelNode);

  vtkPolyData* GetPolyData();
  /// Holds (and observes) the poly data; MeshModifiedEvent when it is replaced or modified.
  void SetAndObservePolyData(vtkPolyData* polyData);

protected:
  vtkKOVAModelNode();
  ~vtkKOVAModelNode() override;

  static void PolyDataModified(vtkObject*, unsigned long, void* clientData, void*);

  vtkSmartPointer<vtkPolyData> PolyData;
  unsigned long PolyDataObserverTag = 0;

private:
  vtkKOVAModelNode(const vtkKOVAModelNode&) = delete;
  void operator=(const vtkKOVAModelNode&) = delete;
};

#endif
