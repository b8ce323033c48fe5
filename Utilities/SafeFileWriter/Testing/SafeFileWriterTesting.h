// Test support for programs that write files through vireon::SafeFileWriter.
#ifndef vireonSafeFileWriterTesting_h
#define vireonSafeFileWriterTesting_h

#include <string>
#include <sys/types.h>

namespace vireon
{
namespace testing
{

/// Makes a folder refuse new entries, or a file refuse writing, for as long as it lives, and
/// for root too: root gets the immutable attribute (chattr +i, which needs a file system that
/// has it), an ordinary user loses the write permission bits.
class Unwritable
{
public:
  explicit Unwritable(std::string path);
  ~Unwritable();
  Unwritable(const Unwritable&) = delete;
  Unwritable& operator=(const Unwritable&) = delete;

  /// "" when the path now refuses changes, otherwise why it could not be made so.
  const std::string& Problem() const { return Why; }
  /// errno of the refused change that proved it: creating a file in the folder, or opening
  /// the file for writing.
  int Refusal() const { return RefusalError; }

private:
  std::string Path;
  std::string Why;
  int RefusalError = 0;
  bool Immutable = false;
  bool Chmodded = false;
  mode_t OldMode = 0;
};

} // namespace testing
} // namespace vireon

#endif
