#ifndef vtkKOVAAbstractWidget_h
#define vtkKOVAAbstractWidget_h

#include "KOVADisplayableManagerExport.h"

#include <vtkObject.h>
#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include "vtkKOVAAbstractWidgetRepresentation.h" // for the smart pointer member
class vtkKOVANode;
class vtkRenderer;

/// Base of the interaction widgets: one widget shows one node in one view through its
/// representation, which it owns and keeps in the view's renderer.
class KOVADISPLAYABLEMANAGER_EXPORT vtkKOVAAbstractWidget : public vtkObject
{
public:
  vtkTypeMacro(vtkKOVAAbstractWidget, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The view's renderer (not owned). The representation moves to the new renderer.
  virtual void SetRenderer(vtkRenderer* renderer);
  vtkRenderer* GetRenderer();

  /// Holds \a representation, gives it the renderer and adds it to the renderer's props (the
  /// previous representation is removed from them).
  virtual void SetRepresentation(vtkKOVAAbstractWidgetRepresentation* representation);
  vtkKOVAAbstractWidgetRepresentation* GetRepresentation();

  /// Forwards to the representation's UpdateFromKOVA.
  virtual void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr);

  /// The representation's NeedToRender (false without one).
  bool GetNeedToRender();
  void NeedToRenderOff();

protected:
  vtkKOVAAbstractWidget();
  ~vtkKOVAAbstractWidget() override;

  vtkWeakPointer<vtkRenderer> Renderer;
  vtkSmartPointer<vtkKOVAAbstractWidgetRepresentation> WidgetRep;

private:
  vtkKOVAAbstractWidget(const vtkKOVAAbstractWidget&) = delete;
  void operator=(const vtkKOVAAbstractWidget&) = delete;
};

#endif
