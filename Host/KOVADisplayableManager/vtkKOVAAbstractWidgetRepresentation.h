#ifndef vtkKOVAAbstractWidgetRepresentation_h
#define vtkKOVAAbstractWidgetRepresentation_h

#include "KOVADisplayableManagerExport.h"

#include <vtkProp.h>
#include <vtkWeakPointer.h>

class vtkKOVAAbstractViewNode;
class vtkKOVANode;
class vtkRenderer;

/// Base of the representations of interaction widgets: a prop drawn in one view (a slice view
/// or a 3D view) that shows a node. The widget adds it to the view's renderer.
///
/// UpdateFromKOVA brings the representation up to date with its nodes; a representation whose
/// look changed sets NeedToRender so that the displayable manager renders the view.
class KOVADISPLAYABLEMANAGER_EXPORT vtkKOVAAbstractWidgetRepresentation : public vtkProp
{
public:
  vtkTypeMacro(vtkKOVAAbstractWidgetRepresentation, vtkProp);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The renderer of the view (not owned).
  virtual void SetRenderer(vtkRenderer* renderer);
  vtkRenderer* GetRenderer();

  /// The view node of the view (not owned).
  virtual void SetViewNode(vtkKOVAAbstractViewNode* viewNode);
  vtkKOVAAbstractViewNode* GetViewNode();

  /// Updates the representation after \a caller invoked \a event (null, 0 for a full update).
  virtual void UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData = nullptr);

  /// Set when the representation changed and the view needs a render.
  vtkGetMacro(NeedToRender, bool);
  vtkSetMacro(NeedToRender, bool);
  vtkBooleanMacro(NeedToRender, bool);

protected:
  vtkKOVAAbstractWidgetRepresentation();
  ~vtkKOVAAbstractWidgetRepresentation() override;

  vtkWeakPointer<vtkRenderer> Renderer;
  vtkWeakPointer<vtkKOVAAbstractViewNode> ViewNode;
  bool NeedToRender = false;

private:
  vtkKOVAAbstractWidgetRepresentation(const vtkKOVAAbstractWidgetRepresentation&) = delete;
  void operator=(const vtkKOVAAbstractWidgetRepresentation&) = delete;
};

#endif
