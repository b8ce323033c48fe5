#ifndef vtkKOVAMarkupsTestLineNode_h
#define vtkKOVAMarkupsTestLineNode_h

#include "vtkVireonTemplateKeyModuleKOVAExport.h"

#include <vtkKOVAMarkupsLineNode.h>

class vtkPolyData;

/// The test line: a line markup of its own type, with its own class, scene tag ("MarkupsTestLine"),
/// markup type ("TestLine"), display name, name prefix and icons. Everything else (control
/// points, measurements, display and storage, serialisation) is the line markup's.
///
/// The node can name a target organ, a surface that the line is associated with. The node
/// neither keeps it alive nor saves, copies or prints it: whoever sets it keeps the poly data
/// alive while it is set, or clears it first.
class VTKVIREONTEMPLATEKEYMODULEKOVA_EXPORT vtkKOVAMarkupsTestLineNode
  : public vtkKOVAMarkupsLineNode
{
public:
  static vtkKOVAMarkupsTestLineNode* New();
  vtkTypeMacro(vtkKOVAMarkupsTestLineNode, vtkKOVAMarkupsLineNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  /// True only for this class itself: a subclass that does not declare its own copy content
  /// reports false.
  bool HasCopyContent() const override;
  const char* GetNodeTagName() override { return "MarkupsTestLine"; }
  std::string GetDefaultNodeNamePrefix() override;
  const char* GetIcon() override { return ":/Icons/MarkupsGeneric.png"; }
  const char* GetAddIcon() override { return ":/Icons/MarkupsGenericMouseModePlace.png"; }
  const char* GetPlaceAddIcon() override { return ":/Icons/MarkupsGenericMouseModePlaceAdd.png"; }
  const char* GetMarkupType() override { return "TestLine"; }

  /// The target organ (not owned). Setting it takes no reference and does not mark the node
  /// modified.
  vtkPolyData* GetTargetOrgan() const { return this->TargetOrgan; }
  void SetTargetOrgan(vtkPolyData* targetOrgan) { this->TargetOrgan = targetOrgan; }

protected:
  vtkKOVAMarkupsTestLineNode();
  ~vtkKOVAMarkupsTestLineNode() override;

  vtkPolyData* TargetOrgan = nullptr;

private:
  vtkKOVAMarkupsTestLineNode(const vtkKOVAMarkupsTestLineNode&) = delete;
  void operator=(const vtkKOVAMarkupsTestLineNode&) = delete;
};

#endif
