#ifndef vtkVireonMarkupsWidgetRepresentation2D_h
#define vtkVireonMarkupsWidgetRepresentation2D_h

#include "vtkVireonMarkupsWidgetRepresentation.h"

class vtkActor2D;
class vtkGlyph2D;
class vtkGlyphSource2D;
class vtkPlane;
class vtkPolyDataMapper2D;
class vtkProperty2D;
class vtkTransform;

/// Base of the markups representations in slice views. Positions are projected into the slice
/// view's XY (pixel) coordinates through the slice node's XY-to-RAS matrix; control points
/// within half a slice spacing of the slice plane are drawn as filled circles of
/// ControlPointSize pixels.
class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT vtkVireonMarkupsWidgetRepresentation2D
  : public vtkVireonMarkupsWidgetRepresentation
{
public:
  vtkTypeMacro(vtkVireonMarkupsWidgetRepresentation2D, vtkVireonMarkupsWidgetRepresentation);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The control point actors, in control point type order.
  void GetActors(vtkPropCollection* collection) override;
  void ReleaseGraphicsResources(vtkWindow* window) override;
  int RenderOverlay(vtkViewport* viewport) override;
  int RenderOpaqueGeometry(vtkViewport* viewport) override;
  int RenderTranslucentPolygonalGeometry(vtkViewport* viewport) override;
  vtkTypeBool HasTranslucentPolygonalGeometry() override;

  /// Slice geometry, control point positions, colours, size and the representation's
  /// visibility.
  void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr) override;

  /// Display (pixel) position of control point \a n in this slice view, whether or not the
  /// point is near the slice (z is 0). False for an index out of range or without a slice node.
  bool GetNthControlPointDisplayPosition(int n, double position[3]);

  /// World (RAS) to the slice view's XY coordinates and back.
  void GetWorldToSliceCoordinates(const double world[3], double xy[3]);
  void GetSliceToWorldCoordinates(const double xy[3], double world[3]);

  /// True when \a representation (poly data with the point array \a arrayName of signed
  /// distances to the slice plane, in millimetres) crosses the slice or comes within half a
  /// slice spacing of it.
  bool IsRepresentationIntersectingSlice(vtkPolyData* representation, const char* arrayName);

  /// Half the slice spacing: how far from the slice plane a point still counts as on it.
  double GetSliceHalfThickness();

protected:
  vtkVireonMarkupsWidgetRepresentation2D();
  ~vtkVireonMarkupsWidgetRepresentation2D() override;

  class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT ControlPointsPipeline2D
    : public ControlPointsPipeline
  {
  public:
    ControlPointsPipeline2D();
    ~ControlPointsPipeline2D() override;

    vtkSmartPointer<vtkGlyphSource2D> GlyphSource;
    vtkSmartPointer<vtkGlyph2D> Glypher;
    vtkSmartPointer<vtkPolyDataMapper2D> Mapper;
    vtkSmartPointer<vtkActor2D> Actor;
    vtkSmartPointer<vtkProperty2D> Property;
  };

  ControlPointsPipeline2D* GetControlPointsPipeline(int controlPointType) override;
  /// In pixels: GlyphSize millimetres of the slice, or with UseGlyphScale GlyphScale percent of
  /// the view height.
  void UpdateControlPointSize() override;
  /// SlicePlane and WorldToSliceTransform from the slice node.
  void UpdateSliceGeometry();

  /// The slice plane in world coordinates (unit normal: its function is the signed distance).
  vtkSmartPointer<vtkPlane> SlicePlane;
  /// World to the view's XY coordinates.
  vtkSmartPointer<vtkTransform> WorldToSliceTransform;

private:
  vtkVireonMarkupsWidgetRepresentation2D(const vtkVireonMarkupsWidgetRepresentation2D&) = delete;
  void operator=(const vtkVireonMarkupsWidgetRepresentation2D&) = delete;
};

#endif
