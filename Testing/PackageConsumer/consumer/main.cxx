// Links every installed deliverable library and uses each layer a little: the heap, the codec,
// scene nodes, module logic, interaction widgets, Qt widgets, the subject hierarchy plug-ins,
// and the loadable module, loaded from its installed folder by the host's module manager.
#include "WavecodecRoundTrip.h"

#include <FibHeap.h>

#include <qKOVAMarkupsTestLineWidget.h>
#include <qKOVATextWidget.h>
#include <qVireonLoadableModule.h>
#include <qVireonModuleManager.h>
#include <qVireonSubjectHierarchyColorLegendPlugin.h>
#include <qVireonSubjectHierarchyDynamicModelerPlugin.h>
#include <qVireonSubjectHierarchyPluginHandler.h>
#include <qVireonSubjectHierarchyTextsPlugin.h>
#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAMarkupsTestLineNode.h>
#include <vtkKOVAPlotSeriesNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVATableNode.h>
#include <vtkKOVATextNode.h>
#include <vtkVireonDynamicModelerLogic.h>
#include <vtkVireonGeneralizedReformatLogic.h>
#include <vtkVireonMarkupsLogic.h>
#include <vtkVireonPlotsLogic.h>
#include <vtkVireonTablesLogic.h>
#include <vtkVireonTemplateKeyLogic.h>
#include <vtkVireonTestLineWidget.h>
#include <vtkVireonTextsLogic.h>
#include <vtkVireonViewControllersLogic.h>

#include <vtkNew.h>

#include <QApplication>
#include <QTextEdit>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// Full allocation stacks, so that the suppression of the Qt platform plug-in's leaks matches.
extern "C" const char* __asan_default_options()
{
  return "fast_unwind_on_malloc=0";
}
#endif

namespace
{
bool HeapWorks()
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
  return min != nullptr && min->GetKeyValue() == 0.5f && heap.GetNumNodes() == 2;
}

// A dynamic modeler node survives a scene file.
bool DynamicModelerNodeWorks()
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
  return copy && copy->GetToolName() && std::string(copy->GetToolName()) == "Plane cut";
}

bool ModuleLogicWorks()
{
  vtkNew<vtkVireonGeneralizedReformatLogic> reformat;
  if (!reformat->IsVolumeResamplerRegistered("ResampleScalarVectorDWIVolume"))
  {
    return false;
  }
  {
    vtkNew<vtkKOVAScene> scene;
    vtkNew<vtkVireonViewControllersLogic> logic;
    logic->SetKOVAScene(scene);
    vtkKOVASliceNode* slice = logic->GetDefaultSliceViewNode();
    if (!slice || slice != logic->GetDefaultSliceViewNode() || scene->GetNumberOfNodes() != 0)
    {
      return false;
    }
  }
  vtkNew<vtkVireonTextsLogic> texts;
  if (!texts->IsA("vtkKOVAAbstractLogic"))
  {
    return false;
  }
  {
    char path[] = "/tmp/vireon-consumer-XXXXXX.csv";
    const int fd = mkstemps(path, 4);
    if (fd < 0)
    {
      return false;
    }
    close(fd);
    std::ofstream(path) << "a,b\n1,2\n";
    vtkNew<vtkKOVAScene> scene;
    vtkNew<vtkVireonTablesLogic> logic;
    logic->SetKOVAScene(scene);
    vtkKOVATableNode* table = logic->AddTable(path, "T");
    std::remove(path);
    if (!table || table->GetNumberOfRows() != 1 || table->GetCellText(0, 1) != "2" ||
        vtkVireonTablesLogic::GetLayoutWithTable(4) != 35)
    {
      return false;
    }
  }
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkVireonPlotsLogic> plots;
  plots->SetKOVAScene(scene);
  auto* series =
    vtkKOVAPlotSeriesNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAPlotSeriesNode", "S"));
  vtkKOVAPlotSeriesNode* clone = plots->CloneSeries(series, nullptr);
  return clone && std::string(clone->GetName()) == "S_Copy" &&
    vtkVireonPlotsLogic::GetLayoutWithPlot(2) == 36;
}

// The test line logic registers its node and interaction widget with the markups logic; the
// options panel manages exactly test line nodes.
bool TestLineWorks()
{
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkKOVAApplicationLogic> applicationLogic;
  vtkNew<vtkVireonMarkupsLogic> markupsLogic;
  markupsLogic->SetKOVAScene(scene);
  applicationLogic->SetModuleLogic("Markups", markupsLogic);
  vtkNew<vtkVireonTemplateKeyLogic> logic;
  logic->SetKOVAApplicationLogic(applicationLogic);
  logic->SetKOVAScene(scene);
  auto* node = vtkKOVAMarkupsTestLineNode::SafeDownCast(
    markupsLogic->AddNewMarkupsNode("vtkKOVAMarkupsTestLineNode"));
  qKOVAMarkupsTestLineWidget options;
  return node &&
    vtkVireonTestLineWidget::SafeDownCast(markupsLogic->GetWidgetByMarkupsType("TestLine")) &&
    options.canManageKOVAMarkupsNode(node);
}

// Shows a text node in the text widget and saves an edit back.
bool TextWidgetWorks()
{
  vtkNew<vtkKOVATextNode> node;
  node->SetText("<b>x</b>");
  qKOVATextWidget widget;
  widget.setKOVATextNode(node);
  if (widget.textEditWidget()->toPlainText() != QLatin1String("<b>x</b>"))
  {
    return false;
  }
  widget.startEdits();
  widget.textEditWidget()->setPlainText("saved");
  widget.saveEdits();
  return node->GetText() == "saved" && !widget.isEditing();
}

bool SubjectHierarchyPluginsWork()
{
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
  auto* modeler =
    vtkKOVADynamicModelerNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVADynamicModelerNode"));
  modeler->SetToolName("Plane cut");
  vtkKOVANode* text = scene->AddNewNodeByClass("vtkKOVATextNode");
  vtkKOVASubjectHierarchyNode* shNode = handler->subjectHierarchyNode();
  const vtkIdType textItem = shNode->GetItemByDataNode(text);
  const vtkIdType modelerItem = shNode->GetItemByDataNode(modeler);
  const bool works = handler->findOwnerPluginForSubjectHierarchyItem(textItem) == textsPlugin &&
    !textsPlugin->icon(textItem).isNull() && !modelerPlugin->icon(modelerItem).isNull() &&
    handler->itemContextMenuActionsForItem(modelerItem).size() == 2 &&
    handler->pluginByName("ColorLegend");
  qVireonSubjectHierarchyPluginHandler::cleanup();
  return works;
}

// The host's module manager loads the installed module and gets the reformat logic from it.
bool LoadableModuleWorks()
{
  vtkNew<vtkKOVAApplicationLogic> applicationLogic;
  vtkNew<vtkKOVAScene> scene;
  qVireonModuleManager manager;
  manager.setApplicationLogic(applicationLogic);
  manager.setKOVAScene(scene);
  const QStringList names = manager.loadModules(QStringLiteral(LOADABLE_MODULES_DIR));
  qVireonLoadableModule* module = manager.module(QStringLiteral("GeneralizedReformat"));
  return names == QStringList{ QStringLiteral("GeneralizedReformat") } && module &&
    vtkVireonGeneralizedReformatLogic::SafeDownCast(module->logic()) &&
    applicationLogic->GetModuleLogic("GeneralizedReformat") == module->logic();
}
}

int main(int argc, char* argv[])
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
  {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  int failures = 0;
  const auto check = [&failures](bool works, const char* what) {
    if (!works)
    {
      std::fprintf(stderr, "consumer: %s\n", what);
      ++failures;
    }
  };
  check(HeapWorks(), "prioheap gave a wrong minimum");
  const std::string codecError = WavecodecRoundTrip();
  check(codecError.empty(), ("wavecodec: " + codecError).c_str());
  check(DynamicModelerNodeWorks(), "the dynamic modeler node did not survive a scene file");
  check(ModuleLogicWorks(), "a module logic (reformat, view controllers, texts, tables, plots) failed");
  check(TestLineWorks(), "the test line was not registered, created or managed by its panel");
  check(TextWidgetWorks(), "qKOVATextWidget did not show or save the node's text");
  check(SubjectHierarchyPluginsWork(), "the subject hierarchy plug-ins do not work as installed");
  check(LoadableModuleWorks(), "the host did not load the installed loadable module");
  if (failures == 0)
  {
    std::puts("consumer: ok");
  }
  return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
