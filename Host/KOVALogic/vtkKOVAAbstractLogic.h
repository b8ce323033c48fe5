#ifndef vtkKOVAAbstractLogic_h
#define vtkKOVAAbstractLogic_h

#include "KOVALogicExport.h"

#include <vtkObject.h>
#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include <vector>

#include <vtkCallbackCommand.h> // for the callback command accessors
class vtkFloatArray;
class vtkIntArray;
class vtkKOVAApplicationLogic;
class vtkKOVANode;
class vtkKOVAScene;

/// Base of every logic: holds the scene and the application logic and dispatches scene events.
///
/// The host gives a logic the application logic first, then the scene; setting a scene calls
/// SetKOVASceneInternal (which chooses the scene events to observe), then RegisterNodes and
/// UpdateFromKOVAScene.
class KOVALOGIC_EXPORT vtkKOVAAbstractLogic : public vtkObject
{
public:
  static vtkKOVAAbstractLogic* New();
  vtkTypeMacro(vtkKOVAAbstractLogic, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVAScene* GetKOVAScene();
  void SetKOVAScene(vtkKOVAScene* newScene);

  /// Not owned (the application logic owns the module logics).
  vtkKOVAApplicationLogic* GetKOVAApplicationLogic();
  virtual void SetKOVAApplicationLogic(vtkKOVAApplicationLogic* logic);

protected:
  vtkKOVAAbstractLogic();
  ~vtkKOVAAbstractLogic() override;

  /// Default: observes no scene events.
  virtual void SetKOVASceneInternal(vtkKOVAScene* newScene);
  /// Replaces the scene (taking a reference) and observes \a events of it, with \a priorities
  /// (one per event) when given.
  void SetAndObserveKOVASceneEventsInternal(vtkKOVAScene* newScene,
    vtkIntArray* events,
    vtkFloatArray* priorities = nullptr);
  void SetAndObserveKOVASceneInternal(vtkKOVAScene* newScene)
  {
    this->SetAndObserveKOVASceneEventsInternal(newScene, nullptr);
  }

  /// Registers the logic's node classes with its scene. Called when a scene is set.
  virtual void RegisterNodes() {}
  /// Brings the logic up to date with its scene (after a scene is set, after batch processing).
  virtual void UpdateFromKOVAScene() {}

  /// Dispatches observed scene events to the handlers below.
  virtual void ProcessKOVASceneEvents(vtkObject* caller, unsigned long event, void* callData);
  virtual void OnKOVASceneNodeAdded(vtkKOVANode* vtkNotUsed(node)) {}
  virtual void OnKOVASceneNodeRemoved(vtkKOVANode* vtkNotUsed(node)) {}
  virtual void OnKOVASceneStartBatchProcess() {}
  /// Default: UpdateFromKOVAScene().
  virtual void OnKOVASceneEndBatchProcess();

  /// Events of observed nodes and logics; the base does nothing with them.
  virtual void ProcessKOVANodesEvents(vtkObject* caller, unsigned long event, void* callData);
  virtual void ProcessKOVALogicsEvents(vtkObject* caller, unsigned long event, void* callData);

  /// A callback command that forwards to ProcessKOVANodesEvents (for observing nodes).
  vtkCallbackCommand* GetKOVANodesCallbackCommand() { return this->NodesCallbackCommand; }
  vtkCallbackCommand* GetKOVALogicsCallbackCommand() { return this->LogicsCallbackCommand; }

  /// True while a scene event is being handled (guards against re-entrant scene changes).
  bool GetInKOVASceneCallback() const { return this->InKOVASceneCallback > 0; }

private:
  static void SceneCallback(vtkObject* caller, unsigned long eid, void* clientData, void* callData);
  static void NodesCallback(vtkObject* caller, unsigned long eid, void* clientData, void* callData);
  static void LogicsCallback(vtkObject* caller,
    unsigned long eid,
    void* clientData,
    void* callData);

  vtkSmartPointer<vtkKOVAScene> KOVAScene;
  vtkWeakPointer<vtkKOVAApplicationLogic> KOVAApplicationLogic;
  vtkSmartPointer<vtkCallbackCommand> SceneCallbackCommand;
  vtkSmartPointer<vtkCallbackCommand> NodesCallbackCommand;
  vtkSmartPointer<vtkCallbackCommand> LogicsCallbackCommand;
  std::vector<unsigned long> SceneObserverTags;
  int InKOVASceneCallback = 0;

  vtkKOVAAbstractLogic(const vtkKOVAAbstractLogic&) = delete;
  void operator=(const vtkKOVAAbstractLogic&) = delete;
};

#endif
