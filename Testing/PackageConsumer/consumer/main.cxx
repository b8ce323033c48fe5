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

#ifdef VIREON_HAS_TABLES_LOGIC
#include <vtkKOVAScene.h>
#include <vtkKOVATableNode.h>
#include <vtkNew.h>
#include <vtkVireonTablesLogic.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>
#endif

#ifdef VIREON_HAS_PLOTS_LOGIC
#include <vtkKOVAPlotSeriesNode.h>
#include <vtkKOVAScene.h>
#include <vtkNew.h>
#include <vtkVireonPlotsLogic.h>
#endif

#ifdef VIREON_HAVE_WAVECODEC
#include <dj2kencode.h>
#include <dj2krparam.h>
#endif

#ifdef VIREON_HAVE_GENERALIZED_REFORMAT
#include <vtkNew.h>
#include <vtkVireonGeneralizedReformatLogic.h>
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

#ifdef VIREON_HAS_TEMPLATE_KEY
#include <qKOVAMarkupsTestLineWidget.h>
#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAMarkupsTestLineNode.h>
#include <vtkKOVAScene.h>
#include <vtkNew.h>
#include <vtkVireonMarkupsLogic.h>
#include <vtkVireonTemplateKeyLogic.h>
#include <vtkVireonTestLineWidget.h>

#include <QLatin1String>

// Registers the test line with a markups logic and creates one.
static bool TestLineWorks()
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
  if (!node ||
      !vtkVireonTestLineWidget::SafeDownCast(markupsLogic->GetWidgetByMarkupsType("TestLine")))
  {
    return false;
  }
  // The options panel's class links (no widget without an application object).
  return QLatin1String(qKOVAMarkupsTestLineWidget::staticMetaObject.className()) ==
    QLatin1String("qKOVAMarkupsTestLineWidget");
}
#endif

#include <cstdio>
#include <string>
#include <vector>

#ifdef VIREON_HAVE_QVIREONTEXTSMODULEWIDGETS
#include <qKOVATextWidget.h>
#include <vtkKOVATextNode.h>

#include <QApplication>
#include <QTextEdit>
#include <vtkNew.h>

#if defined(__SANITIZE_ADDRESS__)
// Full allocation stacks, so that the suppression of the Qt platform plug-in's leaks matches.
extern "C" const char* __asan_default_options()
{
  return "fast_unwind_on_malloc=0";
}
#endif

// Shows a text node in the text widget and saves an edit back.
static bool TextWidgetWorks()
{
  int argc = 1;
  char name[] = "consumer";
  char* argv[] = { name, nullptr };
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
  {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
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
#endif

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
#ifdef VIREON_HAVE_GENERALIZED_REFORMAT
  {
    vtkNew<vtkVireonGeneralizedReformatLogic> logic;
    if (!logic->IsVolumeResamplerRegistered("ResampleScalarVectorDWIVolume"))
    {
      std::fprintf(stderr, "the reformat logic has no built-in resampler\n");
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
#ifdef VIREON_HAS_TABLES_LOGIC
  {
    char path[] = "/tmp/vireon-consumer-XXXXXX.csv";
    const int fd = mkstemps(path, 4);
    if (fd < 0)
    {
      std::fprintf(stderr, "cannot create a table file\n");
      return 1;
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
      std::fprintf(stderr, "the tables logic did not load a table\n");
      return 1;
    }
  }
#endif
#ifdef VIREON_HAS_PLOTS_LOGIC
  {
    vtkNew<vtkKOVAScene> scene;
    vtkNew<vtkVireonPlotsLogic> logic;
    logic->SetKOVAScene(scene);
    auto* series =
      vtkKOVAPlotSeriesNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAPlotSeriesNode", "S"));
    vtkKOVAPlotSeriesNode* clone = logic->CloneSeries(series, nullptr);
    if (!clone || std::string(clone->GetName()) != "S_Copy" ||
        vtkVireonPlotsLogic::GetLayoutWithPlot(2) != 36)
    {
      std::fprintf(stderr, "the plots logic did not clone a series\n");
      return 1;
    }
  }
#endif
#ifdef VIREON_HAVE_WAVECODEC
  DJ2KRepresentationParameter lossy(OFFalse, 10.0);
  if (lossy.useLosslessProcess() || !(lossy == DJ2KRepresentationParameter(OFFalse, 10.0)))
  {
    std::fprintf(stderr, "wavecodec gave a wrong representation parameter\n");
    return 1;
  }
  DJ2KEncoderRegistration::registerCodecs(OFTrue, 0, EJ2KUC_default, OFFalse);
  const OFString version = DJ2KEncoderRegistration::getLibraryVersionString();
  DJ2KEncoderRegistration::cleanup();
  if (version.compare(0, 18, "OpenJPEG, Version ") != 0)
  {
    std::fprintf(stderr, "wavecodec gave a wrong library version string\n");
    return 1;
  }
#endif
#ifdef VIREON_HAVE_QVIREONTEXTSMODULEWIDGETS
  if (!TextWidgetWorks())
  {
    std::fprintf(stderr, "qKOVATextWidget did not show or save the node's text\n");
    return 1;
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
#ifdef VIREON_HAS_TEMPLATE_KEY
  if (!TestLineWorks())
  {
    std::fprintf(stderr, "the test line was not registered or created\n");
    return 1;
  }
#endif
  std::puts("consumer: ok");
  return 0;
}
