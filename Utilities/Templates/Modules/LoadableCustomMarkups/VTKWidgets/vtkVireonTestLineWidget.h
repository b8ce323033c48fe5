#ifndef vtkVireonTestLineWidget_h
#define vtkVireonTestLineWidget_h

#include "vtkVireonTemplateKeyModuleVTKWidgetsExport.h"

#include <vtkVireonLineWidget.h>

/// The interaction widget of the test line: the line widget, with test line representations.
class VTKVIREONTEMPLATEKEYMODULEVTKWIDGETS_EXPORT vtkVireonTestLineWidget
  : public vtkVireonLineWidget
{
public:
  static vtkVireonTestLineWidget* New();
  vtkTypeMacro(vtkVireonTestLineWidget, vtkVireonLineWidget);

  /// A vtkVireonTestLineRepresentation2D for slice views, a vtkVireonTestLineRepresentation3D
  /// for any other view; the widget takes the renderer and the representation, which gets the
  /// view node and the display node and is updated.
  void CreateDefaultRepresentation(vtkKOVAMarkupsDisplayNode* markupsDisplayNode,
    vtkKOVAAbstractViewNode* viewNode,
    vtkRenderer* renderer) override;

  /// An object factory override of "vtkVireonTestLineWidget", else a new
  /// vtkVireonTestLineWidget (the caller holds the reference).
  vtkVireonMarkupsWidget* CreateInstance() const override;

protected:
  vtkVireonTestLineWidget();
  ~vtkVireonTestLineWidget() override;

private:
  vtkVireonTestLineWidget(const vtkVireonTestLineWidget&) = delete;
  void operator=(const vtkVireonTestLineWidget&) = delete;
};

#endif
