#pragma once

// Programs that tests start, read from, kill and wait for, the same way on Linux and
// Windows. Arguments are UTF-8 and reach the program unchanged: no shell sees them, and on
// Windows they are quoted as the C runtime and CommandLineToArgvW take them apart.

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

class ChildProcess {
 public:
  // Starts `program`; its standard output comes to this object through a pipe, its
  // standard error goes where the test's goes. Check Started() before anything else.
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments);
  // A child still running is killed and waited for.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const;
  // The system's process id.
  unsigned long Id() const;
  // Reads one byte of the child's output; false at its end.
  bool ReadByte(char& byte);
  // Everything the child writes until it closes its output.
  std::string ReadAll();
  // Ends the child at once, as a crash or the task manager would.
  void Kill();
  // Waits for the end and gives the exit code; after Kill() the code means nothing.
  int Wait();

 private:
  struct Handles;
  Handles* handles_;
};

// Runs `program` to its end; its exit code, or -1 when it could not be started. What it
// prints goes to `output` when one is given.
int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
               std::string* output = nullptr);

// One argument as the Windows command line must carry it so that the program's C runtime
// gives it back unchanged (backslashes double only before a quote).
std::wstring QuotedForWindowsCommandLine(const std::wstring& argument);

}  // namespace test_support
