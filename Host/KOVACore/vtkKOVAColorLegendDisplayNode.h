#ifndef vtkKOVAColorLegendDisplayNode_h
#define vtkKOVAColorLegendDisplayNode_h

#include "vtkKOVADisplayNode.h"

/// How the colour legend (the colour bar explaining a colour table) of a displayable node is
/// shown. The legend is one more display node of the displayable node; it refers to the display
/// node whose colour table it explains (the primary display node). Visibility and the view list
/// are those of every display node: an empty list means every view.
class KOVACORE_EXPORT vtkKOVAColorLegendDisplayNode : public vtkKOVADisplayNode
{
public:
  static vtkKOVAColorLegendDisplayNode* New();
  vtkTypeMacro(vtkKOVAColorLegendDisplayNode, vtkKOVADisplayNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  static constexpr const char* PrimaryDisplayNodeReferenceRole = "primaryDisplay";

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "ColorLegendDisplay"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAColorLegendDisplayNode);

  /// The display node whose colour table the legend shows, or null.
  vtkKOVADisplayNode* GetPrimaryDisplayNode();
  const char* GetPrimaryDisplayNodeID();
  void SetAndObservePrimaryDisplayNodeID(const char* displayNodeID);

  /// Set when the user has hidden the legend explicitly (from a menu); cleared when the user shows
  /// it. Code that shows legends by itself leaves legends alone while it is set. It has no effect
  /// of its own on visibility or the view list.
  vtkGetMacro(HiddenByUser, bool);
  vtkSetMacro(HiddenByUser, bool);
  vtkBooleanMacro(HiddenByUser, bool);

protected:
  vtkKOVAColorLegendDisplayNode();
  ~vtkKOVAColorLegendDisplayNode() override;

  bool HiddenByUser = false;

private:
  vtkKOVAColorLegendDisplayNode(const vtkKOVAColorLegendDisplayNode&) = delete;
  void operator=(const vtkKOVAColorLegendDisplayNode&) = delete;
};

#endif
