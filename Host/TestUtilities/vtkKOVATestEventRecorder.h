#ifndef vtkKOVATestEventRecorder_h
#define vtkKOVATestEventRecorder_h

// Records the events an object invokes, for tests:
//   vtkKOVATestEventRecorder modified(node, vtkCommand::ModifiedEvent);
//   node->SetName("a");
//   EXPECT_EQ(modified.Count(), 1);

#include <vtkCallbackCommand.h>
#include <vtkNew.h>
#include <vtkObject.h>
#include <vtkSmartPointer.h>

#include <utility>
#include <vector>

/// Records (event id, call data) of each observed event.
class vtkKOVATestEventRecorder
{
public:
  vtkKOVATestEventRecorder(vtkObject* object, unsigned long event)
    : Object(object)
  {
    this->Command->SetClientData(this);
    this->Command->SetCallback(
      [](vtkObject*, unsigned long eid, void* clientData, void* callData)
      {
        auto* self = static_cast<vtkKOVATestEventRecorder*>(clientData);
        self->Events.emplace_back(eid, callData);
      });
    this->Tag = object->AddObserver(event, this->Command);
  }
  ~vtkKOVATestEventRecorder() { this->Object->RemoveObserver(this->Tag); }
  vtkKOVATestEventRecorder(const vtkKOVATestEventRecorder&) = delete;
  vtkKOVATestEventRecorder& operator=(const vtkKOVATestEventRecorder&) = delete;

  int Count() const { return static_cast<int>(this->Events.size()); }
  void Clear() { this->Events.clear(); }
  std::vector<std::pair<unsigned long, void*>> Events;

private:
  vtkSmartPointer<vtkObject> Object;
  vtkNew<vtkCallbackCommand> Command;
  unsigned long Tag = 0;
};

#endif
