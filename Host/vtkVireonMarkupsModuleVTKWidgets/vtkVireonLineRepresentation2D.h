#ifndef vtkVireonLineRepresentation2D_h
#define vtkVireonLineRepresentation2D_h

#include "vtkVireonMarkupsWidgetRepresentation2D.h"

class vtkSampleImplicitFunctionFilter;
class vtkTransformPolyDataFilter;

/// The line markup in slice views: the control points on the slice and, while the line crosses
/// or touches the slice, the line projected into the slice.
///
/// Pipeline: the line (world) -> SliceDistance (adds the signed distance to the slice plane as
/// a point array) -> WorldToSliceTransformer (into the view's XY coordinates) -> LineMapper ->
/// LineActor.
class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT vtkVireonLineRepresentation2D
  : public vtkVireonMarkupsWidgetRepresentation2D
{
public:
  static vtkVireonLineRepresentation2D* New();
  vtkTypeMacro(vtkVireonLineRepresentation2D, vtkVireonMarkupsWidgetRepresentation2D);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The control point actors, then the line actor.
  void GetActors(vtkPropCollection* collection) override;
  void ReleaseGraphicsResources(vtkWindow* window) override;
  int RenderOverlay(vtkViewport* viewport) override;
  int RenderOpaqueGeometry(vtkViewport* viewport) override;
  int RenderTranslucentPolygonalGeometry(vtkViewport* viewport) override;
  vtkTypeBool HasTranslucentPolygonalGeometry() override;

  void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr) override;

  /// The filter that adds the slice distance array (its scalar array name) to the line.
  vtkSampleImplicitFunctionFilter* GetSliceDistance();

protected:
  vtkVireonLineRepresentation2D();
  ~vtkVireonLineRepresentation2D() override;

  vtkSmartPointer<vtkPolyData> Line;
  vtkSmartPointer<vtkSampleImplicitFunctionFilter> SliceDistance;
  vtkSmartPointer<vtkTransformPolyDataFilter> WorldToSliceTransformer;
  vtkSmartPointer<vtkPolyDataMapper2D> LineMapper;
  vtkSmartPointer<vtkActor2D> LineActor;

private:
  vtkVireonLineRepresentation2D(const vtkVireonLineRepresentation2D&) = delete;
  void operator=(const vtkVireonLineRepresentation2D&) = delete;
};

#endif
