#ifndef vtkKOVAAbstractViewNode_h
#define vtkKOVAAbstractViewNode_h

#include "vtkKOVANode.h"

/// Base of the view nodes (slice, 3D and plot views). The layout name, label and view group
/// identify the view in the layout; Reset keeps them and takes every other setting from the
/// default node.
class KOVACORE_EXPORT vtkKOVAAbstractViewNode : public vtkKOVANode
{
public:
  vtkTypeMacro(vtkKOVAAbstractViewNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAAbstractViewNode);
  void Reset(vtkKOVANode* defaultNode) override;

  vtkGetStringMacro(LayoutName);
  vtkSetStringMacro(LayoutName);
  vtkGetStringMacro(LayoutLabel);
  vtkSetStringMacro(LayoutLabel);
  vtkGetMacro(ViewGroup, int);
  vtkSetMacro(ViewGroup, int);

  vtkGetVector3Macro(BackgroundColor, double);
  vtkSetVector3Macro(BackgroundColor, double);
  vtkGetMacro(OrientationMarkerType, int);
  vtkSetMacro(OrientationMarkerType, int);
  vtkGetMacro(RulerType, int);
  vtkSetMacro(RulerType, int);

protected:
  vtkKOVAAbstractViewNode();
  ~vtkKOVAAbstractViewNode() override;

  char* LayoutName = nullptr;
  char* LayoutLabel = nullptr;
  int ViewGroup = 0;
  double BackgroundColor[3] = { 0.0, 0.0, 0.0 };
  int OrientationMarkerType = 0;
  int RulerType = 0;

private:
  vtkKOVAAbstractViewNode(const vtkKOVAAbstractViewNode&) = delete;
  void operator=(const vtkKOVAAbstractViewNode&) = delete;
};

#endif
