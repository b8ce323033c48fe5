#ifndef vtkVireonMarkupsWidgetRepresentation_h
#define vtkVireonMarkupsWidgetRepresentation_h

#include "vtkVireonMarkupsModuleVTKWidgetsExport.h"

#include <vtkKOVAAbstractWidgetRepresentation.h>

#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include <memory>
#include <vector>

class vtkKOVAMarkupsDisplayNode;
class vtkKOVAMarkupsNode;
class vtkPoints;
class vtkPolyData;

/// Base of the markups representations: shows the markups node of a markups display node in
/// one view. Control points are drawn by one pipeline per control point type (unselected,
/// selected, active); the 2D and 3D subclasses build the pipelines.
class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT vtkVireonMarkupsWidgetRepresentation
  : public vtkKOVAAbstractWidgetRepresentation
{
public:
  vtkTypeMacro(vtkVireonMarkupsWidgetRepresentation, vtkKOVAAbstractWidgetRepresentation);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Control point types, each drawn by its own pipeline: unselected points in the display
  /// node's Color, selected ones in its SelectedColor, the active one in its ActiveColor.
  enum
  {
    Unselected,
    Selected,
    Active,
    NumberOfControlPointTypes
  };

  /// The display node of the shown markups node (not owned).
  virtual void SetMarkupsDisplayNode(vtkKOVAMarkupsDisplayNode* displayNode);
  vtkKOVAMarkupsDisplayNode* GetMarkupsDisplayNode();
  /// The markups node that the display node belongs to, or null.
  vtkKOVAMarkupsNode* GetMarkupsNode();

  /// True when the markups node is shown in this view: it and its display node exist, the
  /// display node is visible, visible in this kind of view (2D or 3D) and lists this view (or
  /// no view).
  virtual bool IsDisplayable();

  /// Finds the markups node and requests a render; subclasses update their pipelines.
  void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr) override;

  /// Current control point glyph size (millimetres in 3D views, pixels in slice views).
  vtkGetMacro(ControlPointSize, double);

protected:
  vtkVireonMarkupsWidgetRepresentation();
  ~vtkVireonMarkupsWidgetRepresentation() override;

  /// Positions of the control points of one type.
  class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT ControlPointsPipeline
  {
  public:
    ControlPointsPipeline();
    virtual ~ControlPointsPipeline();
    ControlPointsPipeline(const ControlPointsPipeline&) = delete;
    ControlPointsPipeline& operator=(const ControlPointsPipeline&) = delete;

    vtkSmartPointer<vtkPoints> ControlPoints;
    vtkSmartPointer<vtkPolyData> ControlPointsPolyData;
  };

  virtual ControlPointsPipeline* GetControlPointsPipeline(int controlPointType);
  /// Brings ControlPointSize up to date with the display node and the view.
  virtual void UpdateControlPointSize() {}

  /// Whether the view is a slice view (2D visibility applies) or not (3D visibility).
  virtual bool IsSliceView();

  std::vector<std::unique_ptr<ControlPointsPipeline>> ControlPoints; // one per type
  vtkWeakPointer<vtkKOVAMarkupsDisplayNode> MarkupsDisplayNode;
  vtkWeakPointer<vtkKOVAMarkupsNode> MarkupsNode;
  double ControlPointSize = 10.0;

private:
  vtkVireonMarkupsWidgetRepresentation(const vtkVireonMarkupsWidgetRepresentation&) = delete;
  void operator=(const vtkVireonMarkupsWidgetRepresentation&) = delete;
};

#endif
