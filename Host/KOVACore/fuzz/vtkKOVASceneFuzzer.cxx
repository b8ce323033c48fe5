// libFuzzer target: scene file content through vtkKOVAScene::ReadFromXMLString, which hands each
// element's attributes to the ReadXMLAttributes of its node class: every built-in class and the
// node classes of the deliverables (test line markup, dynamic modeler). The input is the file.
//
// What a scene reads, it must write so that reading the written text into a new scene and
// writing again gives the same text: no attribute may be written in a form its reader takes
// differently.
#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAMarkupsTestLineNode.h>
#include <vtkKOVAScene.h>

#include <vtkNew.h>
#include <vtkObject.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
void RegisterDeliverableNodes(vtkKOVAScene* scene)
{
  vtkNew<vtkKOVAMarkupsTestLineNode> testLine;
  scene->RegisterNodeClass(testLine);
  vtkNew<vtkKOVADynamicModelerNode> dynamicModeler;
  scene->RegisterNodeClass(dynamicModeler);
}

// Reads the text into a new scene; its written text, or false when it is refused.
bool ReadAndWrite(const std::string& text, std::string& written)
{
  vtkNew<vtkKOVAScene> scene;
  RegisterDeliverableNodes(scene);
  if (!scene->ReadFromXMLString(text))
    return false;
  written = scene->WriteToXMLString();
  return true;
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  vtkObject::GlobalWarningDisplayOff();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string first;
  if (!ReadAndWrite(std::string(reinterpret_cast<const char*>(data), size), first))
    return 0;
  std::string second;
  if (!ReadAndWrite(first, second))
  {
    std::fprintf(stderr, "vtkKOVASceneFuzzer: the scene's own text is refused:\n%s\n",
      first.c_str());
    std::abort();
  }
  if (second != first)
  {
    std::fprintf(stderr,
      "vtkKOVASceneFuzzer: written, read and written again, the scene changes:\n%s\n---\n%s\n",
      first.c_str(), second.c_str());
    std::abort();
  }
  return 0;
}
