// Replays fuzzer inputs (files, or folders of files) through a fuzz target without libFuzzer, as
// the test suite does with each target's committed corpus. A finding aborts or crashes the run;
// the name of the input being replayed is printed before it runs.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace
{

void collect(const std::string& path, std::vector<std::string>& files)
{
  struct stat st;
  if (stat(path.c_str(), &st) != 0)
    return;
  if (!S_ISDIR(st.st_mode))
  {
    files.push_back(path);
    return;
  }
  if (DIR* dir = opendir(path.c_str()))
  {
    while (dirent* entry = readdir(dir))
    {
      const std::string name = entry->d_name;
      if (name != "." && name != ".." && name[0] != '.')
        collect(path + "/" + name, files);
    }
    closedir(dir);
  }
}

} // namespace

int main(int argc, char* argv[])
{
  if (LLVMFuzzerInitialize)
    LLVMFuzzerInitialize(&argc, &argv);
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i)
    collect(argv[i], files);
  std::sort(files.begin(), files.end());
  if (files.empty())
  {
    std::fprintf(stderr, "no inputs found\n");
    return 1;
  }
  for (const std::string& file : files)
  {
    std::printf("%s\n", file.c_str());
    std::fflush(stdout);
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes(
      (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", files.size());
  return 0;
}
