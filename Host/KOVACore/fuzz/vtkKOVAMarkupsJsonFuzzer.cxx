// libFuzzer target: markups files through the markups JSON storage node, as the host reads the
// file of a markups node (the test line among them). The input is the file. Reading must return,
// report through the storage node's messages when it fails, and leave a node it could not read
// as it was.
#include <vtkKOVAMarkupsJsonStorageNode.h>
#include <vtkKOVAMarkupsTestLineNode.h>
#include <vtkKOVAMessageCollection.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATestFiles.h>

#include <vtkNew.h>
#include <vtkObject.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace
{
std::string Written(vtkKOVANode* node)
{
  std::ostringstream text;
  node->WriteXML(text, 0);
  return text.str();
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  vtkObject::GlobalWarningDisplayOff();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static const vtkKOVATestTemporaryDirectory folder;
  const std::string path =
    folder.Write("line.mrk.json", std::string(reinterpret_cast<const char*>(data), size));
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkKOVAMarkupsTestLineNode> line;
  scene->AddNode(line);
  line->AddControlPoint(vtkVector3d(1.0, 2.0, 3.0), "a");
  const std::string before = Written(line);

  vtkNew<vtkKOVAMarkupsJsonStorageNode> storage;
  scene->AddNode(storage);
  storage->SetFileName(path.c_str());
  if (storage->ReadData(line) == 0)
  {
    if (storage->GetUserMessages()->GetNumberOfMessages() == 0)
    {
      std::fprintf(stderr, "vtkKOVAMarkupsJsonFuzzer: reading failed without a message\n");
      std::abort();
    }
    if (Written(line) != before)
    {
      std::fprintf(stderr, "vtkKOVAMarkupsJsonFuzzer: a failed read changed the node\n");
      std::abort();
    }
  }
  return 0;
}
