#ifndef vtkKOVAMarkupsDisplayableManager_h
#define vtkKOVAMarkupsDisplayableManager_h

#include "vtkVireonMarkupsModuleKOVADisplayableManagerExport.h"

#include <vtkObject.h>
#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include <vector>

class vtkCallbackCommand;
class vtkKOVAAbstractViewNode;
class vtkKOVAMarkupsDisplayNode;
class vtkKOVAMarkupsNode;
class vtkKOVAScene;
class vtkRenderer;
class vtkVireonMarkupsLogic;
class vtkVireonMarkupsWidget;

/// Shows the markups of a scene in one view: one interaction widget per markups display node,
/// cloned from the widget that the markups logic has registered for the node's markup type
/// (CreateInstance, then CreateDefaultRepresentation with the display node, the view node and
/// the view's renderer). Changes of the markups nodes, their display nodes and the view node
/// reach the widgets' UpdateFromKOVA; the view is rendered when a representation asks for it.
///
/// Give it the markups logic and the renderer, then the view node (whose scene it observes).
class VTKVIREONMARKUPSMODULEKOVADISPLAYABLEMANAGER_EXPORT vtkKOVAMarkupsDisplayableManager
  : public vtkObject
{
public:
  static vtkKOVAMarkupsDisplayableManager* New();
  vtkTypeMacro(vtkKOVAMarkupsDisplayableManager, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The logic whose registered widgets are cloned (not owned).
  void SetMarkupsLogic(vtkVireonMarkupsLogic* logic);
  vtkVireonMarkupsLogic* GetMarkupsLogic();
  /// The view's renderer (not owned).
  void SetRenderer(vtkRenderer* renderer);
  vtkRenderer* GetRenderer();
  /// The view node (not owned). Widgets are made for the markups of its scene.
  void SetKOVAViewNode(vtkKOVAAbstractViewNode* viewNode);
  vtkKOVAAbstractViewNode* GetKOVAViewNode();

  /// Creates the missing widgets and drops those whose display node left the scene.
  void UpdateWidgets();
  int GetNumberOfWidgets();
  /// The widget of \a displayNode in this view, or null.
  vtkVireonMarkupsWidget* GetWidget(vtkKOVAMarkupsDisplayNode* displayNode);
  /// Renders the view if a widget's representation asks for it.
  void RenderIfNeeded();

protected:
  vtkKOVAMarkupsDisplayableManager();
  ~vtkKOVAMarkupsDisplayableManager() override;

  struct WidgetEntry;

  static void Callback(vtkObject* caller, unsigned long event, void* clientData, void* callData);
  void ProcessEvent(vtkObject* caller, unsigned long event, void* callData);
  void ObserveScene(vtkKOVAScene* scene);
  void ObserveMarkupsNode(vtkKOVAMarkupsNode* node);
  void RemoveAllWidgets();
  void RemoveAllObservations();

  vtkWeakPointer<vtkVireonMarkupsLogic> MarkupsLogic;
  vtkWeakPointer<vtkRenderer> Renderer;
  vtkWeakPointer<vtkKOVAAbstractViewNode> ViewNode;
  vtkWeakPointer<vtkKOVAScene> Scene;
  vtkSmartPointer<vtkCallbackCommand> CallbackCommand;
  std::vector<WidgetEntry>* Widgets;
  /// Observed objects and their observer tags (the scene, the view node, markups nodes).
  struct Observation;
  std::vector<Observation>* Observations;
  bool Updating = false;

private:
  vtkKOVAMarkupsDisplayableManager(const vtkKOVAMarkupsDisplayableManager&) = delete;
  void operator=(const vtkKOVAMarkupsDisplayableManager&) = delete;
};

#endif
