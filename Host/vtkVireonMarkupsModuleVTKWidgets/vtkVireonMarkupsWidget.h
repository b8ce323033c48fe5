#ifndef vtkVireonMarkupsWidget_h
#define vtkVireonMarkupsWidget_h

#include "vtkVireonMarkupsModuleVTKWidgetsExport.h"

#include <vtkKOVAAbstractWidget.h>

class vtkKOVAAbstractViewNode;
class vtkKOVAMarkupsDisplayNode;
class vtkKOVAMarkupsNode;
class vtkRenderer;
class vtkVireonMarkupsWidgetRepresentation;

/// Base of the markups interaction widgets. The markups logic keeps one registered widget per
/// markup type as a prototype; the displayable manager clones it (CreateInstance) for every
/// markups display node shown in a view and calls CreateDefaultRepresentation on the clone.
class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT vtkVireonMarkupsWidget : public vtkKOVAAbstractWidget
{
public:
  vtkTypeMacro(vtkVireonMarkupsWidget, vtkKOVAAbstractWidget);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Makes the representation that suits the view (2D for slice views, 3D otherwise), gives it
  /// the nodes and updates it.
  virtual void CreateDefaultRepresentation(vtkKOVAMarkupsDisplayNode* markupsDisplayNode,
    vtkKOVAAbstractViewNode* viewNode,
    vtkRenderer* renderer) = 0;

  /// A new widget of the same kind (the caller holds the reference).
  virtual vtkVireonMarkupsWidget* CreateInstance() const = 0;

  vtkVireonMarkupsWidgetRepresentation* GetMarkupsRepresentation();
  /// The nodes shown by the representation, or null.
  vtkKOVAMarkupsDisplayNode* GetMarkupsDisplayNode();
  vtkKOVAMarkupsNode* GetMarkupsNode();

protected:
  vtkVireonMarkupsWidget();
  ~vtkVireonMarkupsWidget() override;

private:
  vtkVireonMarkupsWidget(const vtkVireonMarkupsWidget&) = delete;
  void operator=(const vtkVireonMarkupsWidget&) = delete;
};

#endif
