#ifndef vtkVireonLineWidget_h
#define vtkVireonLineWidget_h

#include "vtkVireonMarkupsWidget.h"

/// The interaction widget of line markups.
class VTKVIREONMARKUPSMODULEVTKWIDGETS_EXPORT vtkVireonLineWidget : public vtkVireonMarkupsWidget
{
public:
  static vtkVireonLineWidget* New();
  vtkTypeMacro(vtkVireonLineWidget, vtkVireonMarkupsWidget);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// A vtkVireonLineRepresentation2D for slice views, a vtkVireonLineRepresentation3D otherwise.
  void CreateDefaultRepresentation(vtkKOVAMarkupsDisplayNode* markupsDisplayNode,
    vtkKOVAAbstractViewNode* viewNode,
    vtkRenderer* renderer) override;

  /// An object factory override of "vtkVireonLineWidget", else a vtkVireonLineWidget.
  vtkVireonMarkupsWidget* CreateInstance() const override;

protected:
  vtkVireonLineWidget();
  ~vtkVireonLineWidget() override;

private:
  vtkVireonLineWidget(const vtkVireonLineWidget&) = delete;
  void operator=(const vtkVireonLineWidget&) = delete;
};

#endif
