#ifndef vtkKOVADisplayNode_h
#define vtkKOVADisplayNode_h

#include "vtkKOVANode.h"

class vtkKOVAColorTableNode;
class vtkKOVADisplayableNode;

/// Base of the nodes that say how a displayable node is shown: visibility, color, opacity and
/// the views it is shown in (all views when the list is empty).
class KOVACORE_EXPORT vtkKOVADisplayNode : public vtkKOVANode
{
public:
  vtkTypeMacro(vtkKOVADisplayNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVADisplayNode);

  vtkGetMacro(Visibility, bool);
  vtkSetMacro(Visibility, bool);
  vtkBooleanMacro(Visibility, bool);
  vtkGetMacro(Visibility2D, bool);
  vtkSetMacro(Visibility2D, bool);
  vtkBooleanMacro(Visibility2D, bool);
  vtkGetMacro(Visibility3D, bool);
  vtkSetMacro(Visibility3D, bool);
  vtkBooleanMacro(Visibility3D, bool);
  vtkGetVector3Macro(Color, double);
  vtkSetVector3Macro(Color, double);
  vtkGetMacro(Opacity, double);
  vtkSetClampMacro(Opacity, double, 0.0, 1.0);

  /// Views the node is shown in; an empty list means every view.
  void AddViewNodeID(const char* viewNodeID);
  void RemoveViewNodeID(const char* viewNodeID);
  void RemoveAllViewNodeIDs();
  int GetNumberOfViewNodeIDs() { return static_cast<int>(this->ViewNodeIDs.size()); }
  const char* GetNthViewNodeID(int n);
  const std::vector<std::string>& GetViewNodeIDs() { return this->ViewNodeIDs; }
  bool IsViewNodeIDPresent(const char* viewNodeID);
  /// True when the list is empty or holds the view.
  bool IsDisplayableInView(const char* viewNodeID);

  /// The displayable node of the scene that refers to this display node, or null.
  vtkKOVADisplayableNode* GetDisplayableNode();

  /// The colour table the node maps values through (role "color"), or null when it uses none.
  static constexpr const char* ColorNodeReferenceRole = "color";
  vtkKOVAColorTableNode* GetColorNode();
  const char* GetColorNodeID();
  void SetAndObserveColorNodeID(const char* colorNodeID);

protected:
  vtkKOVADisplayNode();
  ~vtkKOVADisplayNode() override;

  bool Visibility = true;
  bool Visibility2D = true;
  bool Visibility3D = true;
  double Color[3] = { 0.5, 0.5, 0.5 };
  double Opacity = 1.0;
  std::vector<std::string> ViewNodeIDs;

private:
  vtkKOVADisplayNode(const vtkKOVADisplayNode&) = delete;
  void operator=(const vtkKOVADisplayNode&) = delete;
};

#endif
