#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{
struct RunResult
{
  int Status = -1;
  std::string Out;
  std::string Err;
};

// Runs program with args, feeding input on standard input; returns its exit status and output.
RunResult Run(const std::string& program,
  const std::vector<std::string>& args,
  const std::string& input = {})
{
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0)
  {
    ADD_FAILURE() << "pipe failed";
    return {};
  }
  const pid_t pid = fork();
  if (pid == 0)
  {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : { in[0], in[1], out[0], out[1], err[0], err[1] })
    {
      close(fd);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
    {
      argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (!input.empty() &&
      write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size()))
  {
    ADD_FAILURE() << "could not write the child's input";
  }
  close(in[1]);

  RunResult result;
  pollfd fds[2] = { { out[0], POLLIN, 0 }, { err[0], POLLIN, 0 } };
  std::string* sinks[2] = { &result.Out, &result.Err };
  int open = 2;
  while (open > 0)
  {
    if (poll(fds, 2, -1) < 0 && errno != EINTR)
    {
      break;
    }
    for (int i = 0; i < 2; ++i)
    {
      if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP)))
      {
        char buffer[4096];
        const ssize_t n = read(fds[i].fd, buffer, sizeof(buffer));
        if (n > 0)
        {
          sinks[i]->append(buffer, static_cast<std::size_t>(n));
        }
        else
        {
          close(fds[i].fd);
          fds[i].fd = -1;
          --open;
        }
      }
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

RunResult Launch(const std::vector<std::string>& args, const std::string& input = {})
{
  return Run(PYLAUNCH_EXECUTABLE, args, input);
}

// Prints the arguments after the script as raw bytes, each followed by a newline-free marker.
const char* const ArgvDump =
  "import os, sys\n"
  "sys.stdout.buffer.write(b'|'.join(os.fsencode(a) for a in sys.argv))\n";
}

TEST(pylaunch, ExitStatusOfTheScriptIsTheProcessStatus)
{
  EXPECT_EQ(Launch({ "-c", "import sys; sys.exit(3)" }).Status, 3);
  EXPECT_EQ(Launch({ "-c", "pass" }).Status, 0);
  const RunResult raised = Launch({ "-c", "raise ValueError('boom')" });
  EXPECT_EQ(raised.Status, 1);
  EXPECT_NE(raised.Err.find("ValueError: boom"), std::string::npos) << raised.Err;
}

TEST(pylaunch, RunsThePythonVersionItWasConfiguredWith)
{
  const RunResult launched =
    Launch({ "-c", "import sys; sys.stdout.write('%d.%d' % sys.version_info[:2])" });
  ASSERT_EQ(launched.Status, 0) << launched.Err;
  EXPECT_EQ(launched.Out, PYLAUNCH_PYTHON_VERSION);
}

TEST(pylaunch, RejectedOptionIsReportedByTheInterpreter)
{
  const RunResult launched = Launch({ "--no-such-option" });
  EXPECT_EQ(launched.Status, 2);
  EXPECT_NE(launched.Err.find("unknown option --no-such-option"), std::string::npos)
    << launched.Err;
  EXPECT_TRUE(launched.Out.empty());
}

TEST(pylaunch, ArgumentsReachSysArgvUnchanged)
{
  char scriptPath[] = "/tmp/pylaunch-argv-XXXXXX";
  const int fd = mkstemp(scriptPath);
  ASSERT_GE(fd, 0);
  close(fd);
  {
    std::ofstream script(scriptPath);
    script << ArgvDump;
  }
  // Non-ASCII, undecodable bytes, blanks and arguments that look like interpreter options.
  const std::vector<std::string> extra = {
    "h\xc3\xa9llo \xe2\x9c\x93", "--version", "-c", "a b", "", "\xff\xfe"
  };
  std::vector<std::string> args = { scriptPath };
  args.insert(args.end(), extra.begin(), extra.end());
  const RunResult launched = Launch(args);
  std::remove(scriptPath);
  ASSERT_EQ(launched.Status, 0) << launched.Err;

  std::string expected = scriptPath;
  for (const std::string& arg : extra)
  {
    expected += "|" + arg;
  }
  EXPECT_EQ(launched.Out, expected);

  const RunResult command = Launch({ "-c", ArgvDump, "-x", "\xc3\x9c" });
  ASSERT_EQ(command.Status, 0) << command.Err;
  EXPECT_EQ(command.Out, "-c|-x|\xc3\x9c");
}

TEST(pylaunch, ReadsTheProgramFromStandardInput)
{
  const RunResult piped = Launch({}, "import sys\nprint(6 * 7)\nsys.exit(5)\n");
  EXPECT_EQ(piped.Out, "42\n");
  EXPECT_EQ(piped.Status, 5);

  const RunResult dash = Launch({ "-", "arg" }, "import sys\nprint(sys.argv)\n");
  EXPECT_EQ(dash.Out, "['-', 'arg']\n");
  EXPECT_EQ(dash.Status, 0);

  // Forced interactive mode: the prompt goes to standard error, results to standard output.
  const RunResult interactive = Launch({ "-i", "-q" }, "40 + 2\n");
  EXPECT_EQ(interactive.Status, 0);
  EXPECT_NE(interactive.Out.find("42"), std::string::npos);
  EXPECT_NE(interactive.Err.find(">>> "), std::string::npos) << interactive.Err;
}
