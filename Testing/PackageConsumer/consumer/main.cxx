// Links the installed libraries and uses each one a little.
#include <FibHeap.h>

#ifdef VIREON_HAVE_WAVECODEC
#include <dj2kencode.h>
#include <dj2krparam.h>
#endif

#include <cstdio>
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
  std::puts("consumer: ok");
  return 0;
}
