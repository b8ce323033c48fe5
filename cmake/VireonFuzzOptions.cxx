// Linked into every fuzz target and its corpus replay. The targets feed short inputs (a few
// kilobytes) to parsers that allocate what a length field declares before reading the value
// (DCMTK's element reader, OpenJPEG's tile set-up): no single allocation above 64 MiB can be
// legitimate for such inputs. Above that the allocator returns null to callers that can take
// it (new (std::nothrow), malloc) instead of mapping and poisoning gigabytes for every input;
// a throwing operator new still reports it.
extern "C" const char* __asan_default_options()
{
  return "allocator_may_return_null=1:max_allocation_size_mb=64";
}
