#ifndef vtkVireonTestLineRepresentation3D_h
#define vtkVireonTestLineRepresentation3D_h

#include "vtkVireonTemplateKeyModuleVTKWidgetsExport.h"

#include <vtkVireonLineRepresentation3D.h>

#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

class vtkActor;
class vtkCutter;
class vtkPlane;
class vtkPolyData;
class vtkPolyDataMapper;
class vtkSphereSource;

/// The test line in 3D views: the line representation, a sphere of the control point size at
/// the midpoint and, when the node is a test line with a target organ, the contour where the
/// plane through the midpoint perpendicular to the line cuts the organ.
class VTKVIREONTEMPLATEKEYMODULEVTKWIDGETS_EXPORT vtkVireonTestLineRepresentation3D
  : public vtkVireonLineRepresentation3D
{
public:
  static vtkVireonTestLineRepresentation3D* New();
  vtkTypeMacro(vtkVireonTestLineRepresentation3D, vtkVireonLineRepresentation3D);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The line's actors, the cut contour actor while there is a target organ, the midpoint actor.
  void GetActors(vtkPropCollection* collection) override;
  int RenderOpaqueGeometry(vtkViewport* viewport) override;
  int RenderTranslucentPolygonalGeometry(vtkViewport* viewport) override;
  int RenderOverlay(vtkViewport* viewport) override;
  vtkTypeBool HasTranslucentPolygonalGeometry() override;
  void ReleaseGraphicsResources(vtkWindow* window) override;

  void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr) override;

protected:
  vtkVireonTestLineRepresentation3D();
  ~vtkVireonTestLineRepresentation3D() override;

  /// Sphere at the midpoint of the two control points, radius ControlPointSize.
  void BuildMiddlePoint();
  /// Plane through the midpoint with the line as normal.
  void BuildSlicingPlane();
  /// Whether the node has the two control points that the midpoint needs.
  bool HasMiddlePoint();

  vtkSmartPointer<vtkCutter> Cutter;
  vtkSmartPointer<vtkPolyDataMapper> CutterMapper;
  vtkSmartPointer<vtkActor> CutterActor;
  vtkSmartPointer<vtkPolyDataMapper> MiddlePointMapper;
  vtkSmartPointer<vtkActor> MiddlePointActor;
  vtkWeakPointer<vtkPolyData> TargetOrgan;
  vtkSmartPointer<vtkSphereSource> MiddlePointSource;
  vtkSmartPointer<vtkPlane> SlicingPlane;

private:
  vtkVireonTestLineRepresentation3D(const vtkVireonTestLineRepresentation3D&) = delete;
  void operator=(const vtkVireonTestLineRepresentation3D&) = delete;
};

#endif
