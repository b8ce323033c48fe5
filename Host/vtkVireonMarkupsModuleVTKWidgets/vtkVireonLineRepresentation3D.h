#ifndef vtkVireonLineRepresentation3D_h
#define vtkVireonLineRepresentation3D_h

#include "vtkVireonMarkupsWidgetRepresentation3D.h"

class vtkPolyDataMapper;
class vtkTubeFilter;

/// The line markup in 3D views: the control point spheres and a tube between the two points,
/// LineThickness times the control point size across.
class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT vtkVireonLineRepresentation3D
  : public vtkVireonMarkupsWidgetRepresentation3D
{
public:
  static vtkVireonLineRepresentation3D* New();
  vtkTypeMacro(vtkVireonLineRepresentation3D, vtkVireonMarkupsWidgetRepresentation3D);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The control point actors, then the line actor.
  void GetActors(vtkPropCollection* collection) override;
  void ReleaseGraphicsResources(vtkWindow* window) override;
  int RenderOverlay(vtkViewport* viewport) override;
  int RenderOpaqueGeometry(vtkViewport* viewport) override;
  int RenderTranslucentPolygonalGeometry(vtkViewport* viewport) override;
  vtkTypeBool HasTranslucentPolygonalGeometry() override;

  void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr) override;

protected:
  vtkVireonLineRepresentation3D();
  ~vtkVireonLineRepresentation3D() override;

  vtkSmartPointer<vtkPolyData> Line;
  vtkSmartPointer<vtkTubeFilter> TubeFilter;
  vtkSmartPointer<vtkPolyDataMapper> LineMapper;
  vtkSmartPointer<vtkActor> LineActor;

private:
  vtkVireonLineRepresentation3D(const vtkVireonLineRepresentation3D&) = delete;
  void operator=(const vtkVireonLineRepresentation3D&) = delete;
};

#endif
