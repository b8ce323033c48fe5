#ifndef vtkVireonMarkupsLogic_h
#define vtkVireonMarkupsLogic_h

#include "vtkVireonMarkupsModuleLogicExport.h"

#include <vtkVireonModuleLogic.h>

#include <string>
#include <vector>

class vtkKOVAAbstractWidget;
class vtkKOVAMarkupsNode;
class vtkVireonMarkupsWidget;

/// The logic of the Markups module: the registry of markup types.
///
/// Each markup type is registered with a prototype node and a prototype interaction widget,
/// which the logic keeps. The type's node class is registered with the logic's scene (now, or
/// when a scene is set later), nodes of the class are created on request, and the displayable
/// manager clones the widget for every node of the type in every view.
class VTKVIREONMARKUPSMODULELOGIC_EXPORT vtkVireonMarkupsLogic : public vtkVireonModuleLogic
{
public:
  static vtkVireonMarkupsLogic* New();
  vtkTypeMacro(vtkVireonMarkupsLogic, vtkVireonModuleLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Registers the markup type of \a markupsNode (its GetMarkupType) with \a markupsWidget as
  /// the prototype of its interaction widgets. With \a createPushButton the type gets a place
  /// button. A null \a interactionWidget selects the default interaction-handle widget. A type
  /// that is registered already gets the new prototypes. Null node or widget is an error.
  void RegisterMarkupsNode(vtkKOVAMarkupsNode* markupsNode,
    vtkVireonMarkupsWidget* markupsWidget,
    bool createPushButton = true,
    vtkKOVAAbstractWidget* interactionWidget = nullptr);
  /// Removes the markup type of \a markupsNode (its node class stays registered with the scene).
  void UnregisterMarkupsNode(vtkKOVAMarkupsNode* markupsNode);

  /// Registered markup types, in registration order.
  std::vector<std::string> GetRegisteredMarkupsTypes();
  bool IsMarkupsTypeRegistered(const char* markupType);
  /// The prototypes of a registered type, or null.
  vtkKOVAMarkupsNode* GetNodeByMarkupsType(const char* markupType);
  vtkVireonMarkupsWidget* GetWidgetByMarkupsType(const char* markupType);
  /// The interaction-handle widget given at registration (null: the default one).
  vtkKOVAAbstractWidget* GetInteractionWidgetByMarkupsType(const char* markupType);
  /// Whether the type was registered with a place button.
  bool GetCreateMarkupsPushButton(const char* markupType);

  /// Adds a new markups node of the registered class \a className to the scene, named
  /// \a nodeName (the class's default name prefix when empty), with a display node. Null when
  /// there is no scene or the class is not that of a registered markup type.
  vtkKOVAMarkupsNode* AddNewMarkupsNode(const std::string& className,
    const std::string& nodeName = std::string());

protected:
  vtkVireonMarkupsLogic();
  ~vtkVireonMarkupsLogic() override;

  /// Registers the node classes of the registered markup types with the scene.
  void RegisterNodes() override;

  struct MarkupsInfo;
  MarkupsInfo* FindMarkupsInfo(const char* markupType);
  std::vector<MarkupsInfo>* Types;

private:
  vtkVireonMarkupsLogic(const vtkVireonMarkupsLogic&) = delete;
  void operator=(const vtkVireonMarkupsLogic&) = delete;
};

#endif
