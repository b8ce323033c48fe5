#ifndef vtkVireonViewControllersLogic_h
#define vtkVireonViewControllersLogic_h

#include "vtkVireonViewControllersModuleLogicExport.h"

#include <vtkVireonModuleLogic.h>

class vtkKOVAPlotViewNode;
class vtkKOVASliceNode;
class vtkKOVAViewNode;

/// Logic of the view controllers module: the scene's default slice, 3D and plot view nodes, and
/// resetting every view of the scene from them.
class VTKVIREONVIEWCONTROLLERSMODULELOGIC_EXPORT vtkVireonViewControllersLogic
  : public vtkVireonModuleLogic
{
public:
  static vtkVireonViewControllersLogic* New();
  vtkTypeMacro(vtkVireonViewControllersLogic, vtkVireonModuleLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The scene's default node of the view class, created and registered with the scene on first
  /// use. Owned by the scene; null without a scene.
  vtkKOVASliceNode* GetDefaultSliceViewNode();
  vtkKOVAViewNode* GetDefaultThreeDViewNode();
  vtkKOVAPlotViewNode* GetDefaultPlotViewNode();

  /// Resets every slice, 3D and plot view of the scene from the default nodes (slice views also
  /// return to their default orientation), within one batch.
  void ResetAllViewNodesToDefault();

protected:
  vtkVireonViewControllersLogic();
  ~vtkVireonViewControllersLogic() override;

  /// Registers no node classes.
  void RegisterNodes() override;

private:
  vtkVireonViewControllersLogic(const vtkVireonViewControllersLogic&) = delete;
  void operator=(const vtkVireonViewControllersLogic&) = delete;
};

#endif
