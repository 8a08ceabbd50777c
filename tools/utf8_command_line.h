#pragma once

#include <string>
#include <vector>

namespace tools {

// The program's arguments (without its name) as UTF-8. On Windows `argv` holds them in the
// ANSI code page, which cannot carry every file name (锯材账单.xls in a Western code page):
// they are taken from the UTF-16 command line instead. Elsewhere they are `argv` as given.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes a Windows console show the UTF-8 the program prints; output to a file or pipe is
// written byte for byte anyway. Does nothing elsewhere.
void PrintUtf8();

}  // namespace tools
