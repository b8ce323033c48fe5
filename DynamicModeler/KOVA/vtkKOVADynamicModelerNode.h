#ifndef vtkKOVADynamicModelerNode_h
#define vtkKOVADynamicModelerNode_h

#include "vtkVireonDynamicModelerModuleKOVAExport.h"

#include <vtkKOVANode.h>

/// One dynamic modeler operation: the name of the modelling tool it runs and whether it re-runs
/// by itself when its inputs change.
///
/// The tools set the references to their input and output nodes (and the events observed on
/// them); every event that arrives from an observed node is relayed as one
/// ReferencedNodeModifiedEvent, with that node as call data.
class VTKVIREONDYNAMICMODELERMODULEKOVA_EXPORT vtkKOVADynamicModelerNode : public vtkKOVANode
{
public:
  static vtkKOVADynamicModelerNode* New();
  vtkTypeMacro(vtkKOVADynamicModelerNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum
  {
    /// An observed node sent an event; call data is that node (a vtkKOVANode).
    ReferencedNodeModifiedEvent = 18000,
  };

  vtkKOVANode* CreateNodeInstance() override;
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  void Copy(vtkKOVANode* node) override;
  const char* GetNodeTagName() override { return "DynamicModeler"; }

  /// Name of the modelling tool this node runs (owned by the node; null when unset).
  vtkGetStringMacro(ToolName);
  vtkSetStringMacro(ToolName);

  /// Whether the operation is re-run automatically when its inputs change (stored only).
  vtkGetMacro(ContinuousUpdate, bool);
  vtkSetMacro(ContinuousUpdate, bool);
  vtkBooleanMacro(ContinuousUpdate, bool);

protected:
  vtkKOVADynamicModelerNode();
  ~vtkKOVADynamicModelerNode() override;

  void ProcessKOVAEvents(vtkObject* caller, unsigned long event, void* callData) override;

  char* ToolName = nullptr;
  bool ContinuousUpdate = false;

private:
  vtkKOVADynamicModelerNode(const vtkKOVADynamicModelerNode&) = delete;
  void operator=(const vtkKOVADynamicModelerNode&) = delete;
};

#endif
