// Saves two contents in turn to one file until killed; the crash-safety test kills it at
// random moments. After each save it writes one byte to stdout, so the test knows it runs.
#include <unistd.h>

#include <cstdio>

#include "atomic_save_contents.h"
#include "xls/atomic_save.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: atomic_save_victim FILE\n");
    return 2;
  }
  const auto first = VictimContent(false);
  const auto second = VictimContent(true);
  for (bool use_second = true;; use_second = !use_second) {
    xls::SaveFileAtomically(argv[1], use_second ? second : first);
    const char tick = '.';
    if (write(STDOUT_FILENO, &tick, 1) != 1) return 1;
  }
}
