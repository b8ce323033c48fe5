// Links the installed libraries and uses each one a little.
#include <FibHeap.h>

#ifdef VIREON_HAS_DYNAMIC_MODELER_KOVA
#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAScene.h>
#include <vtkNew.h>
#endif

#ifdef VIREON_HAS_VIEW_CONTROLLERS_LOGIC
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkNew.h>
#include <vtkVireonViewControllersLogic.h>
#endif

#ifdef VIREON_HAS_TEXTS_LOGIC
#include <vtkNew.h>
#include <vtkVireonTextsLogic.h>
#endif

#ifdef VIREON_HAS_SUBJECT_HIERARCHY_PLUGINS
#include <QApplication>
#include <QByteArray>
#include <qVireonSubjectHierarchyColorLegendPlugin.h>
#include <qVireonSubjectHierarchyDynamicModelerPlugin.h>
#include <qVireonSubjectHierarchyPluginHandler.h>
#include <qVireonSubjectHierarchyTextsPlugin.h>
#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkNew.h>
#include <vtkVireonDynamicModelerLogic.h>
#endif

#include <cstdio>
#include <string>
#include <vector>

int main()
{
  std::vector<FibHeapNode> nodes(3);
  FibHeap heap;
  heap.SetHeapNodes(nodes.data());
  const float keys[] = { 2.0f, 0.5f, 1.0f };
  for (unsigned i = 0; i < 3; ++i)
  {
    nodes[i].SetIndexValue(i);
    nodes[i] = keys[i];
    heap.Insert(&nodes[i]);
  }
  FibHeapNode* min = heap.ExtractMin();
  if (min == nullptr || min->GetKeyValue() != 0.5f || heap.GetNumNodes() != 2)
  {
    std::fprintf(stderr, "prioheap gave a wrong minimum\n");
    return 1;
  }
#ifdef VIREON_HAS_DYNAMIC_MODELER_KOVA
  {
    vtkNew<vtkKOVAScene> scene;
    vtkNew<vtkKOVADynamicModelerNode> prototype;
    scene->RegisterNodeClass(prototype);
    vtkNew<vtkKOVADynamicModelerNode> node;
    node->SetToolName("Plane cut");
    scene->AddNode(node);
    vtkNew<vtkKOVAScene> read;
    read->RegisterNodeClass(prototype);
    auto* copy = read->ReadFromXMLString(scene->WriteToXMLString())
                   ? vtkKOVADynamicModelerNode::SafeDownCast(
                       read->GetFirstNodeByClass("vtkKOVADynamicModelerNode"))
                   : nullptr;
    if (!copy || !copy->GetToolName() || std::string(copy->GetToolName()) != "Plane cut")
    {
      std::fprintf(stderr, "the dynamic modeler node did not survive a scene file\n");
      return 1;
    }
  }
#endif
#ifdef VIREON_HAS_VIEW_CONTROLLERS_LOGIC
  {
    vtkNew<vtkKOVAScene> scene;
    vtkNew<vtkVireonViewControllersLogic> logic;
    logic->SetKOVAScene(scene);
    vtkKOVASliceNode* slice = logic->GetDefaultSliceViewNode();
    if (!slice || slice != logic->GetDefaultSliceViewNode() || scene->GetNumberOfNodes() != 0)
    {
      std::fprintf(stderr, "the view controllers logic gave no stable default slice node\n");
      return 1;
    }
  }
#endif
#ifdef VIREON_HAS_TEXTS_LOGIC
  {
    vtkNew<vtkVireonTextsLogic> logic;
    if (!logic->IsA("vtkKOVAAbstractLogic"))
    {
      std::fprintf(stderr, "the texts logic is not an abstract logic\n");
      return 1;
    }
  }
#endif
#ifdef VIREON_HAS_SUBJECT_HIERARCHY_PLUGINS
  {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int argc = 1;
    char name[] = "consumer";
    char* argv[] = { name, nullptr };
    QApplication application(argc, argv);
    vtkNew<vtkKOVAScene> scene;
    vtkNew<vtkVireonDynamicModelerLogic> logic;
    logic->SetKOVAScene(scene);
    auto* handler = qVireonSubjectHierarchyPluginHandler::instance();
    handler->setKOVAScene(scene);
    auto* modelerPlugin = new qVireonSubjectHierarchyDynamicModelerPlugin;
    modelerPlugin->setDynamicModelerLogic(logic);
    auto* textsPlugin = new qVireonSubjectHierarchyTextsPlugin;
    handler->registerPlugin(textsPlugin);
    handler->registerPlugin(modelerPlugin);
    handler->registerPlugin(new qVireonSubjectHierarchyColorLegendPlugin);
    auto* modeler = vtkKOVADynamicModelerNode::SafeDownCast(
      scene->AddNewNodeByClass("vtkKOVADynamicModelerNode"));
    modeler->SetToolName("Plane cut");
    vtkKOVANode* text = scene->AddNewNodeByClass("vtkKOVATextNode");
    vtkKOVASubjectHierarchyNode* shNode = handler->subjectHierarchyNode();
    const vtkIdType textItem = shNode->GetItemByDataNode(text);
    const vtkIdType modelerItem = shNode->GetItemByDataNode(modeler);
    if (handler->findOwnerPluginForSubjectHierarchyItem(textItem) != textsPlugin ||
        textsPlugin->icon(textItem).isNull() || modelerPlugin->icon(modelerItem).isNull() ||
        handler->itemContextMenuActionsForItem(modelerItem).size() != 2 ||
        !handler->pluginByName("ColorLegend"))
    {
      std::fprintf(stderr, "the subject hierarchy plug-ins do not work as installed\n");
      return 1;
    }
    qVireonSubjectHierarchyPluginHandler::cleanup();
  }
#endif
  std::puts("consumer: ok");
  return 0;
}
