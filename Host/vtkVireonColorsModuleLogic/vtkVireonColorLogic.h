#ifndef vtkVireonColorLogic_h
#define vtkVireonColorLogic_h

#include "vtkVireonColorsModuleLogicExport.h"

#include <vtkVireonModuleLogic.h>

class vtkKOVAColorLegendDisplayNode;
class vtkKOVADisplayNode;
class vtkKOVADisplayableNode;

/// Logic of the colours module: colour legends of displayable nodes.
///
/// A legend is a vtkKOVAColorLegendDisplayNode that is one of the displayable node's display
/// nodes and refers to the display node whose colour table it explains (its primary display node).
class VTKVIREONCOLORSMODULELOGIC_EXPORT vtkVireonColorLogic : public vtkVireonModuleLogic
{
public:
  static vtkVireonColorLogic* New();
  vtkTypeMacro(vtkVireonColorLogic, vtkVireonModuleLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The legend of the displayable node's first display node, or null (also for a null node).
  static vtkKOVAColorLegendDisplayNode* GetColorLegendDisplayNode(
    vtkKOVADisplayableNode* displayableNode);
  /// The legend whose primary display node is \a displayNode, or null.
  static vtkKOVAColorLegendDisplayNode* GetColorLegendDisplayNode(vtkKOVADisplayNode* displayNode);

  /// The legend of the displayable node's first display node; a new one (visible, shown in every
  /// view) is added to the scene when there is none. Null when the node is null, is not in a scene
  /// or has no display node.
  static vtkKOVAColorLegendDisplayNode* AddDefaultColorLegendDisplayNode(
    vtkKOVADisplayableNode* displayableNode);
  /// The same for a display node (which must belong to a displayable node of its scene).
  static vtkKOVAColorLegendDisplayNode* AddDefaultColorLegendDisplayNode(
    vtkKOVADisplayNode* displayNode);

protected:
  vtkVireonColorLogic();
  ~vtkVireonColorLogic() override;

private:
  vtkVireonColorLogic(const vtkVireonColorLogic&) = delete;
  void operator=(const vtkVireonColorLogic&) = delete;
};

#endif
