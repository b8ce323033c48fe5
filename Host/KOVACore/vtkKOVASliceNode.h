#ifndef vtkKOVASliceNode_h
#define vtkKOVASliceNode_h

#include "vtkKOVAAbstractViewNode.h"

#include <string>

/// A slice view. Its orientation ("Axial", "Sagittal", "Coronal" or another name) and its own
/// default orientation are properties of the view: Reset keeps both.
class KOVACORE_EXPORT vtkKOVASliceNode : public vtkKOVAAbstractViewNode
{
public:
  static vtkKOVASliceNode* New();
  vtkTypeMacro(vtkKOVASliceNode, vtkKOVAAbstractViewNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Slice"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVASliceNode);
  void Reset(vtkKOVANode* defaultNode) override;

  std::string GetOrientation() { return this->Orientation; }
  void SetOrientation(const std::string& orientation);
  std::string GetDefaultOrientation() { return this->DefaultOrientation; }
  void SetDefaultOrientation(const std::string& orientation);
  /// Orientation = DefaultOrientation (nothing when no default orientation is set).
  void SetOrientationToDefault();

  vtkGetVector3Macro(FieldOfView, double);
  vtkSetVector3Macro(FieldOfView, double);
  vtkGetMacro(SliceVisible, bool);
  vtkSetMacro(SliceVisible, bool);
  vtkBooleanMacro(SliceVisible, bool);
  vtkGetMacro(UseLabelOutline, bool);
  vtkSetMacro(UseLabelOutline, bool);
  vtkBooleanMacro(UseLabelOutline, bool);

protected:
  vtkKOVASliceNode();
  ~vtkKOVASliceNode() override;

  std::string Orientation = "Axial";
  std::string DefaultOrientation = "Axial";
  double FieldOfView[3] = { 250.0, 250.0, 1.0 };
  bool SliceVisible = false;
  bool UseLabelOutline = false;

private:
  vtkKOVASliceNode(const vtkKOVASliceNode&) = delete;
  void operator=(const vtkKOVASliceNode&) = delete;
};

#endif
