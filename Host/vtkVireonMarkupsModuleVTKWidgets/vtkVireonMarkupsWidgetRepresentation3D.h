#ifndef vtkVireonMarkupsWidgetRepresentation3D_h
#define vtkVireonMarkupsWidgetRepresentation3D_h

#include "vtkVireonMarkupsWidgetRepresentation.h"

class vtkActor;
class vtkGlyph3DMapper;
class vtkProperty;
class vtkSphereSource;

/// Base of the markups representations in 3D views: control points are spheres of
/// ControlPointSize (millimetres) diameter at their world positions.
class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT vtkVireonMarkupsWidgetRepresentation3D
  : public vtkVireonMarkupsWidgetRepresentation
{
public:
  vtkTypeMacro(vtkVireonMarkupsWidgetRepresentation3D, vtkVireonMarkupsWidgetRepresentation);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The control point actors, in control point type order.
  void GetActors(vtkPropCollection* collection) override;
  void ReleaseGraphicsResources(vtkWindow* window) override;
  int RenderOverlay(vtkViewport* viewport) override;
  int RenderOpaqueGeometry(vtkViewport* viewport) override;
  int RenderTranslucentPolygonalGeometry(vtkViewport* viewport) override;
  vtkTypeBool HasTranslucentPolygonalGeometry() override;
  /// Bounds of the control point glyphs (null without control points).
  double* GetBounds() override;

  /// Control point positions, colours, size and the representation's visibility.
  void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr) override;

protected:
  vtkVireonMarkupsWidgetRepresentation3D();
  ~vtkVireonMarkupsWidgetRepresentation3D() override;

  class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT ControlPointsPipeline3D
    : public ControlPointsPipeline
  {
  public:
    ControlPointsPipeline3D();
    ~ControlPointsPipeline3D() override;

    vtkSmartPointer<vtkSphereSource> GlyphSource;
    vtkSmartPointer<vtkGlyph3DMapper> GlyphMapper;
    vtkSmartPointer<vtkActor> Actor;
    vtkSmartPointer<vtkProperty> Property;
  };

  ControlPointsPipeline3D* GetControlPointsPipeline(int controlPointType) override;
  /// GlyphSize, or with UseGlyphScale GlyphScale percent of the view height at the camera's
  /// focal point.
  void UpdateControlPointSize() override;

  double Bounds[6] = { 0.0, -1.0, 0.0, -1.0, 0.0, -1.0 };

private:
  vtkVireonMarkupsWidgetRepresentation3D(const vtkVireonMarkupsWidgetRepresentation3D&) = delete;
  void operator=(const vtkVireonMarkupsWidgetRepresentation3D&) = delete;
};

#endif
