// The process runner: how a child ended, its separate output streams, its input and its
// environment.
#include "DJ2KTestProcess.h"

#include <gtest/gtest.h>

#include <signal.h>

using namespace dj2ktest;

namespace
{

ProcessResult Shell(const std::string& script, const ProcessOptions& options = ProcessOptions())
{
  return RunProcess({ "/bin/sh", "-c", script }, options);
}

} // namespace

TEST(DJ2KTestProcess, TellsExitCodesSignalsAndSanitizerReportsApart)
{
  const int sanitizer = SanitizerExitCode();
  ASSERT_NE(sanitizer, 0);
  ASSERT_NE(sanitizer, 1);
  struct Case
  {
    std::string script;
    bool exited;
    int exitCode;
    int signal;
    bool sanitizerReport;
    std::string description;
  };
  const Case cases[] = {
    { "exit 0", true, 0, 0, false, "exit code 0" },
    { "exit 1", true, 1, 0, false, "exit code 1" },
    { "exit 80", true, 80, 0, false, "exit code 80" },
    { "exit " + std::to_string(sanitizer),
      true,
      sanitizer,
      0,
      true,
      "sanitizer report (exit code " + std::to_string(sanitizer) + ")" },
    { "kill -SEGV $$", false, -1, SIGSEGV, false, "killed by signal 11 (Segmentation fault)" },
    { "kill -TERM $$", false, -1, SIGTERM, false, "killed by signal 15 (Terminated)" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.script);
    const ProcessResult r = Shell(c.script);
    EXPECT_TRUE(r.started) << r.startError;
    EXPECT_EQ(r.exited, c.exited);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.signal, c.signal);
    EXPECT_EQ(r.sanitizerReport, c.sanitizerReport);
    EXPECT_EQ(r.Describe(), c.description);
    EXPECT_EQ(r.ExitedWith(1), c.exited && c.exitCode == 1);
  }

  const ProcessResult missing = RunProcess({ "/nonexistent/program" });
  EXPECT_FALSE(missing.started);
  EXPECT_FALSE(missing.exited);
  EXPECT_EQ(missing.Describe(), "not started: /nonexistent/program: No such file or directory");
}

TEST(DJ2KTestProcess, SeparatesOrMergesOutputAndFeedsInput)
{
  // Large output on both streams at once, and large input the child reads in full: nothing
  // may block on a full pipe.
  const std::string script = "head -c 300000 /dev/zero | tr '\\0' o; "
                             "head -c 200000 /dev/zero | tr '\\0' e >&2; "
                             "wc -c; echo done >&2";
  ProcessOptions options;
  options.input = std::string(500000, 'i');
  ProcessResult r = Shell(script, options);
  ASSERT_TRUE(r.ExitedWith(0)) << r.Describe();
  EXPECT_EQ(r.out, std::string(300000, 'o') + "500000\n");
  EXPECT_EQ(r.err, std::string(200000, 'e') + "done\n");

  options.input.clear();
  options.mergeOutput = true;
  r = Shell("echo one; echo two >&2; echo three", options);
  EXPECT_EQ(r.out, "one\ntwo\nthree\n");
  EXPECT_EQ(r.err, "");

  // A child that ends without reading its input ends normally, and so does this process.
  options.mergeOutput = false;
  options.input = std::string(1 << 20, 'x');
  r = Shell("exit 3", options);
  EXPECT_TRUE(r.ExitedWith(3)) << r.Describe();

  options.input.clear();
  options.discardOutput = true;
  r = Shell("echo hidden; echo hidden >&2", options);
  EXPECT_TRUE(r.ExitedWith(0));
  EXPECT_EQ(r.out + r.err, "");
}

TEST(DJ2KTestProcess, EnvironmentAndWorkingDirectory)
{
  setenv("DJ2K_PROCESS_KEPT", "kept", 1);
  setenv("DJ2K_PROCESS_REMOVED", "present", 1);
  setenv("DJ2K_PROCESS_REPLACED", "old", 1);
  TempDir dir;
  ProcessOptions options;
  options.environment = { "DJ2K_PROCESS_REMOVED", "DJ2K_PROCESS_REPLACED=new", "DJ2K_NEW=added" };
  options.workingDirectory = dir.Path();
  const ProcessResult r =
    Shell("echo \"$DJ2K_PROCESS_KEPT,${DJ2K_PROCESS_REMOVED-unset},$DJ2K_PROCESS_REPLACED,"
          "$DJ2K_NEW\"; pwd -P",
      options);
  char resolved[4096];
  ASSERT_NE(realpath(dir.Path().c_str(), resolved), nullptr);
  EXPECT_EQ(r.out, "kept,unset,new,added\n" + std::string(resolved) + "\n");
  // The caller's own environment is untouched.
  EXPECT_STREQ(getenv("DJ2K_PROCESS_REMOVED"), "present");
}
