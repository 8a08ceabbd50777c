// Saves two contents in turn to one file until killed; the crash-safety test kills it at
// random moments. After each save it writes one byte to stdout, so the test knows it runs.
// Without a file it ends at once: the tests use that as a process that has died.
//
// With "pause-at backup|contents GO_FILE" it saves once (the content the file does not
// hold), and at that moment of a save in place writes 'P' and waits until GO_FILE exists:
// a saver stopped half-way, for the tests of what others do meanwhile.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "atomic_save_contents.h"
#include "base/text_encoding.h"
#include "utf8_command_line.h"
#include "xls/file/atomic_save.h"
#include "xls/file/whole_file.h"

namespace {

xls::file::SaveStep pause_step = xls::file::SaveStep::kBackupWritten;
std::filesystem::path go_file;

void PauseAt(xls::file::SaveStep step) {
  if (step != pause_step) return;
  std::fputc('P', stdout);
  std::fflush(stdout);
  while (!std::filesystem::exists(go_file)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.size() != 1 && args.size() != 4) {
    std::fprintf(stderr, "usage: atomic_save_victim FILE [pause-at backup|contents GO_FILE]\n");
    return 2;
  }
  const std::filesystem::path file(base::FromUtf8(args[0]));
  const auto first = VictimContent(false);
  const auto second = VictimContent(true);
  if (args.size() == 4) {
    pause_step = args[2] == "backup" ? xls::file::SaveStep::kBackupWritten
                                     : xls::file::SaveStep::kContentsWritten;
    go_file = std::filesystem::path(base::FromUtf8(args[3]));
    xls::file::ObserveSaveSteps(&PauseAt);
    xls::file::SaveFileAtomically(file, xls::file::ReadWholeFile(file) == first ? second : first);
    std::fputc('.', stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  for (bool use_second = true;; use_second = !use_second) {
    xls::file::SaveFileAtomically(file, use_second ? second : first);
    if (std::fputc('.', stdout) == EOF || std::fflush(stdout) != 0) return 1;
  }
}
