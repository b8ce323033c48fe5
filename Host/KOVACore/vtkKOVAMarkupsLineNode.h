#ifndef vtkKOVAMarkupsLineNode_h
#define vtkKOVAMarkupsLineNode_h

#include "vtkKOVAMarkupsNode.h"

/// A straight line: a linear curve through two control points, the start and the end.
class KOVACORE_EXPORT vtkKOVAMarkupsLineNode : public vtkKOVAMarkupsNode
{
public:
  static vtkKOVAMarkupsLineNode* New();
  vtkTypeMacro(vtkKOVAMarkupsLineNode, vtkKOVAMarkupsNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "MarkupsLine"; }

  const char* GetMarkupType() override { return "Line"; }
  const char* GetDefaultNodeNamePrefix() override { return "L"; }
  const char* GetIcon() override { return ":/Icons/MarkupsLine.png"; }
  const char* GetAddIcon() override { return ":/Icons/MarkupsLineMouseModePlace.png"; }
  const char* GetPlaceAddIcon() override { return ":/Icons/MarkupsLineMouseModePlaceAdd.png"; }

  /// Distance between the two control points in world coordinates (0 with fewer than two).
  double GetLineLengthWorld();

  /// Start (control point 0) and end (control point 1); false when the point does not exist.
  bool GetLineStartPosition(double position[3]);
  bool GetLineEndPosition(double position[3]);
  bool GetLineStartPositionWorld(double position[3]);
  bool GetLineEndPositionWorld(double position[3]);
  /// Set the start or end, adding control points as needed (the start first).
  void SetLineStartPosition(const double position[3]);
  void SetLineEndPosition(const double position[3]);
  void SetLineStartPositionWorld(const double position[3]);
  void SetLineEndPositionWorld(const double position[3]);

protected:
  vtkKOVAMarkupsLineNode();
  ~vtkKOVAMarkupsLineNode() override;

  void SetLinePoint(int n, const double position[3], bool world);

private:
  vtkKOVAMarkupsLineNode(const vtkKOVAMarkupsLineNode&) = delete;
  void operator=(const vtkKOVAMarkupsLineNode&) = delete;
};

#endif
