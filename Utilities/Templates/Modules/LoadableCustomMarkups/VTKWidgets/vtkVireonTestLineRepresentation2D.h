#ifndef vtkVireonTestLineRepresentation2D_h
#define vtkVireonTestLineRepresentation2D_h

#include "vtkVireonTemplateKeyModuleVTKWidgetsExport.h"

#include <vtkVireonLineRepresentation2D.h>

#include <vtkSmartPointer.h>

class vtkActor2D;
class vtkGlyphSource2D;
class vtkPolyDataMapper2D;

/// The test line in slice views: the line representation and, while the line has both points
/// and crosses the slice, a glyph at the midpoint of the two points' display positions, drawn
/// with the active control point pipeline's property.
class VTKVIREONTEMPLATEKEYMODULEVTKWIDGETS_EXPORT vtkVireonTestLineRepresentation2D
  : public vtkVireonLineRepresentation2D
{
public:
  static vtkVireonTestLineRepresentation2D* New();
  vtkTypeMacro(vtkVireonTestLineRepresentation2D, vtkVireonLineRepresentation2D);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The midpoint actor, then the line's actors.
  void GetActors(vtkPropCollection* collection) override;
  int RenderOpaqueGeometry(vtkViewport* viewport) override;
  int RenderTranslucentPolygonalGeometry(vtkViewport* viewport) override;
  int RenderOverlay(vtkViewport* viewport) override;
  vtkTypeBool HasTranslucentPolygonalGeometry() override;
  void ReleaseGraphicsResources(vtkWindow* window) override;

  void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr) override;

protected:
  vtkVireonTestLineRepresentation2D();
  ~vtkVireonTestLineRepresentation2D() override;

  vtkSmartPointer<vtkGlyphSource2D> MiddlePointSource;
  vtkSmartPointer<vtkPolyDataMapper2D> MiddlePointMapper;
  vtkSmartPointer<vtkActor2D> MiddlePointActor;

private:
  vtkVireonTestLineRepresentation2D(const vtkVireonTestLineRepresentation2D&) = delete;
  void operator=(const vtkVireonTestLineRepresentation2D&) = delete;
};

#endif
