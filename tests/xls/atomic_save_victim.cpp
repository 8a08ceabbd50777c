// Saves two contents in turn to one file until killed; the crash-safety test kills it at
// random moments. After each save it writes one byte to stdout, so the test knows it runs.
// Without a file it ends at once: the tests use that as a process that has died.
#include <cstdio>

#include "atomic_save_contents.h"
#include "base/text_encoding.h"
#include "utf8_command_line.h"
#include "xls/atomic_save.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: atomic_save_victim FILE\n");
    return 2;
  }
  const std::filesystem::path file(base::FromUtf8(args[0]));
  const auto first = VictimContent(false);
  const auto second = VictimContent(true);
  for (bool use_second = true;; use_second = !use_second) {
    xls::SaveFileAtomically(file, use_second ? second : first);
    if (std::fputc('.', stdout) == EOF || std::fflush(stdout) != 0) return 1;
  }
}
