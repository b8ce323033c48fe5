#ifndef vtkKOVAMarkupsDisplayNode_h
#define vtkKOVAMarkupsDisplayNode_h

#include "vtkKOVADisplayNode.h"

/// How a markups node is shown (the display node family of markups).
class KOVACORE_EXPORT vtkKOVAMarkupsDisplayNode : public vtkKOVADisplayNode
{
public:
  static vtkKOVAMarkupsDisplayNode* New();
  vtkTypeMacro(vtkKOVAMarkupsDisplayNode, vtkKOVADisplayNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "MarkupsDisplay"; }

  // Glyphs, line and colours of the widget representations ----------------------------------

  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAMarkupsDisplayNode);

  /// Colour of selected control points (Color is that of unselected ones) and of the active
  /// (hovered or dragged) control point.
  vtkGetVector3Macro(SelectedColor, double);
  vtkSetVector3Macro(SelectedColor, double);
  vtkGetVector3Macro(ActiveColor, double);
  vtkSetVector3Macro(ActiveColor, double);

  /// Control point glyph size: with UseGlyphScale, GlyphScale percent of the view height;
  /// otherwise GlyphSize in millimetres (3D views) or, in slice views, millimetres of the slice.
  vtkGetMacro(UseGlyphScale, bool);
  vtkSetMacro(UseGlyphScale, bool);
  vtkBooleanMacro(UseGlyphScale, bool);
  vtkGetMacro(GlyphScale, double);
  vtkSetClampMacro(GlyphScale, double, 0.0, 1000.0);
  vtkGetMacro(GlyphSize, double);
  vtkSetClampMacro(GlyphSize, double, 0.0, 1.0e6);
  /// Line diameter relative to the control point size.
  vtkGetMacro(LineThickness, double);
  vtkSetClampMacro(LineThickness, double, 0.0, 100.0);

protected:
  vtkKOVAMarkupsDisplayNode();
  ~vtkKOVAMarkupsDisplayNode() override;

  double SelectedColor[3] = { 1.0, 0.5, 0.5 };
  double ActiveColor[3] = { 0.4, 1.0, 0.0 };
  bool UseGlyphScale = true;
  double GlyphScale = 3.0;
  double GlyphSize = 5.0;
  double LineThickness = 0.2;

private:
  vtkKOVAMarkupsDisplayNode(const vtkKOVAMarkupsDisplayNode&) = delete;
  void operator=(const vtkKOVAMarkupsDisplayNode&) = delete;
};

#endif
