#ifndef vtkKOVAViewNode_h
#define vtkKOVAViewNode_h

#include "vtkKOVAAbstractViewNode.h"

/// A 3D view.
class KOVACORE_EXPORT vtkKOVAViewNode : public vtkKOVAAbstractViewNode
{
public:
  static vtkKOVAViewNode* New();
  vtkTypeMacro(vtkKOVAViewNode, vtkKOVAAbstractViewNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "View"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAViewNode);

  enum
  {
    Perspective = 0,
    Orthographic = 1,
  };

  vtkGetMacro(BoxVisible, bool);
  vtkSetMacro(BoxVisible, bool);
  vtkBooleanMacro(BoxVisible, bool);
  vtkGetMacro(AxisLabelsVisible, bool);
  vtkSetMacro(AxisLabelsVisible, bool);
  vtkBooleanMacro(AxisLabelsVisible, bool);
  vtkGetMacro(FieldOfView, double);
  vtkSetMacro(FieldOfView, double);
  vtkGetMacro(RenderMode, int);
  vtkSetClampMacro(RenderMode, int, Perspective, Orthographic);

protected:
  vtkKOVAViewNode();
  ~vtkKOVAViewNode() override;

  bool BoxVisible = true;
  bool AxisLabelsVisible = true;
  double FieldOfView = 200.0;
  int RenderMode = Perspective;

private:
  vtkKOVAViewNode(const vtkKOVAViewNode&) = delete;
  void operator=(const vtkKOVAViewNode&) = delete;
};

#endif
