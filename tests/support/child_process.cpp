#include "child_process.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;
#endif

namespace test_support {

namespace fs = std::filesystem;

std::wstring QuotedForWindowsCommandLine(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote, and the quote itself, are escaped; elsewhere they stand.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  // Before the closing quote every backslash doubles, or it would escape that quote.
  quoted.append(backslashes * 2, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

}  // namespace

struct ChildProcess::Handles {
  PROCESS_INFORMATION process{};
  HANDLE output = nullptr;
  bool running = false;
};

ChildProcess::ChildProcess(const fs::path& program, const std::vector<std::string>& arguments)
    : handles_(new Handles) {
  std::wstring command_line = QuotedForWindowsCommandLine(program.native());
  for (const std::string& argument : arguments) {
    command_line += L' ';
    command_line += QuotedForWindowsCommandLine(Wide(argument));
  }
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE write_end = nullptr;
  if (!CreatePipe(&handles_->output, &write_end, &inheritable, 0)) return;
  SetHandleInformation(handles_->output, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write_end;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  handles_->running =
      CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, nullptr, &startup, &handles_->process) != 0;
  CloseHandle(write_end);
}

ChildProcess::~ChildProcess() {
  if (handles_->running) {
    Kill();
    Wait();
  }
  if (handles_->process.hProcess != nullptr) CloseHandle(handles_->process.hProcess);
  if (handles_->process.hThread != nullptr) CloseHandle(handles_->process.hThread);
  if (handles_->output != nullptr) CloseHandle(handles_->output);
  delete handles_;
}

bool ChildProcess::Started() const {
  return handles_->process.hProcess != nullptr;
}

unsigned long ChildProcess::Id() const {
  return handles_->process.dwProcessId;
}

bool ChildProcess::ReadByte(char& byte) {
  DWORD got = 0;
  return ReadFile(handles_->output, &byte, 1, &got, nullptr) && got == 1;
}

void ChildProcess::Kill() {
  TerminateProcess(handles_->process.hProcess, 1);
}

int ChildProcess::Wait() {
  WaitForSingleObject(handles_->process.hProcess, INFINITE);
  handles_->running = false;
  DWORD code = 0;
  GetExitCodeProcess(handles_->process.hProcess, &code);
  return static_cast<int>(code);
}

#else

struct ChildProcess::Handles {
  pid_t pid = -1;
  int output = -1;
  bool running = false;
};

ChildProcess::ChildProcess(const fs::path& program, const std::vector<std::string>& arguments)
    : handles_(new Handles) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::vector<std::string> texts{program.string()};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  if (posix_spawn(&handles_->pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
    handles_->pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  handles_->output = pipe_ends[0];
  handles_->running = handles_->pid > 0;
}

ChildProcess::~ChildProcess() {
  if (handles_->running) {
    Kill();
    Wait();
  }
  if (handles_->output >= 0) close(handles_->output);
  delete handles_;
}

bool ChildProcess::Started() const {
  return handles_->pid > 0;
}

unsigned long ChildProcess::Id() const {
  return static_cast<unsigned long>(handles_->pid);
}

bool ChildProcess::ReadByte(char& byte) {
  while (true) {
    const ssize_t got = read(handles_->output, &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    return got == 1;
  }
}

void ChildProcess::Kill() {
  kill(handles_->pid, SIGKILL);
}

int ChildProcess::Wait() {
  int status = 0;
  while (waitpid(handles_->pid, &status, 0) < 0 && errno == EINTR) {
  }
  handles_->running = false;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

std::string ChildProcess::ReadAll() {
  std::string text;
  for (char byte = 0; ReadByte(byte);) text.push_back(byte);
  return text;
}

int RunProgram(const fs::path& program, const std::vector<std::string>& arguments,
               std::string* output) {
  ChildProcess child(program, arguments);
  if (!child.Started()) return -1;
  const std::string text = child.ReadAll();
  if (output != nullptr) *output = text;
  return child.Wait();
}

}  // namespace test_support
