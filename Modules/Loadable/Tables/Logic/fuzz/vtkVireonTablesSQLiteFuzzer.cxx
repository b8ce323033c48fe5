// libFuzzer target: database files through vtkVireonTablesLogic::AddTable, which reads every
// table of the database into the scene. The input is the file. Whatever the file holds, the call
// must return; when it succeeds, the scene holds one table node per table of the database and
// each node's table has the table's columns, all of one length.
#include <vtkKOVAScene.h>
#include <vtkKOVATestFiles.h>
#include <vtkKOVATableNode.h>
#include <vtkVireonTablesLogic.h>

#include <vtkAbstractArray.h>
#include <vtkCollection.h>
#include <vtkNew.h>
#include <vtkObject.h>
#include <vtkTable.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{
[[noreturn]] void Fail(const std::string& what)
{
  std::fprintf(stderr, "vtkVireonTablesSQLiteFuzzer: %s\n", what.c_str());
  std::abort();
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  vtkObject::GlobalWarningDisplayOff();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  // A database may leave a journal or write-ahead log beside it: every input starts anew.
  static const vtkKOVATestTemporaryDirectory folder;
  for (const char* suffix : { "-journal", "-wal", "-shm" })
    std::filesystem::remove(folder.File(std::string("tables.db") + suffix));
  const std::string path =
    folder.Write("tables.db", std::string(reinterpret_cast<const char*>(data), size));
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkVireonTablesLogic> logic;
  logic->SetKOVAScene(scene);
  vtkKOVATableNode* last = logic->AddTable(path.c_str(), nullptr, false, nullptr, nullptr);
  if (!last)
    return 0;

  vtkCollection* nodes = scene->GetNodesByClass("vtkKOVATableNode");
  bool lastFound = false;
  for (int i = 0; i < nodes->GetNumberOfItems(); ++i)
  {
    vtkKOVATableNode* node = vtkKOVATableNode::SafeDownCast(nodes->GetItemAsObject(i));
    vtkTable* table = node ? node->GetTable() : nullptr;
    if (!table || table->GetNumberOfColumns() == 0)
      Fail("a table node without columns");
    const vtkIdType rows = table->GetColumn(0)->GetNumberOfTuples();
    for (vtkIdType c = 1; c < table->GetNumberOfColumns(); ++c)
    {
      if (table->GetColumn(c)->GetNumberOfTuples() != rows)
        Fail("columns of different lengths in table " + std::string(node->GetName()));
    }
    lastFound = lastFound || node == last;
  }
  nodes->Delete();
  if (!lastFound)
    Fail("the returned table node is not in the scene");
  return 0;
}
