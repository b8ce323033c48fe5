#ifndef vtkKOVATestFiles_h
#define vtkKOVATestFiles_h

// Files for tests: a temporary folder that is removed with everything in it, and file writing.
//
//   vtkKOVATestTemporaryDirectory folder;
//   const std::string csv = folder.Write("data.csv", "a,b\n1,2\n");

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class vtkKOVATestTemporaryDirectory
{
public:
  vtkKOVATestTemporaryDirectory()
  {
    std::string pattern = (std::filesystem::temp_directory_path() / "vireon-test-XXXXXX").string();
    if (mkdtemp(pattern.data()))
    {
      this->Path = pattern;
    }
  }
  ~vtkKOVATestTemporaryDirectory()
  {
    if (!this->Path.empty())
    {
      std::error_code ignored;
      std::filesystem::remove_all(this->Path, ignored);
    }
  }
  vtkKOVATestTemporaryDirectory(const vtkKOVATestTemporaryDirectory&) = delete;
  vtkKOVATestTemporaryDirectory& operator=(const vtkKOVATestTemporaryDirectory&) = delete;

  /// The folder (empty if it could not be created).
  const std::string& GetPath() const { return this->Path; }
  /// The path of \a name inside the folder.
  std::string File(const std::string& name) const { return this->Path + "/" + name; }
  /// Writes \a content (bytes as they are) to \a name inside the folder; returns the path.
  std::string Write(const std::string& name, const std::string& content) const
  {
    const std::string path = this->File(name);
    std::ofstream file(path, std::ios::out | std::ios::binary | std::ios::trunc);
    file << content;
    return path;
  }

private:
  std::string Path;
};

#endif
