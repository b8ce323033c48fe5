// Links the installed libraries and uses each one a little.
#include <FibHeap.h>

#include <cstdio>
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
#ifdef VIREON_HAVE_QVIREONTEXTSMODULEWIDGETS
  if (!TextWidgetWorks())
  {
    std::fprintf(stderr, "qKOVATextWidget did not show or save the node's text\n");
    return 1;
  }
#endif
  std::puts("consumer: ok");
  return 0;
}
