#include "utf8_command_line.h"

namespace tools {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void PrintUtf8() {}

}  // namespace tools
