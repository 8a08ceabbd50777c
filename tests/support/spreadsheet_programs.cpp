#include "spreadsheet_programs.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace test_support {
namespace {

namespace fs = std::filesystem;

// Single quotes for the shell (our temporary paths hold no quote of their own).
std::string Quoted(const fs::path& path) {
  std::string quoted = path.string();
  quoted.insert(quoted.begin(), '\'');
  quoted.push_back('\'');
  return quoted;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A folder of its own for each conversion, so no output is mistaken for another's.
fs::path FreshFolder(const fs::path& work, const std::string& prefix) {
  for (int n = 0;; ++n) {
    const fs::path folder = work / (prefix + std::to_string(n));
    if (fs::create_directories(folder)) return folder;
  }
}

}  // namespace

bool Run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

std::string MissingProgram(const std::string& name) {
#ifdef _WIN32
  // The Windows build's tests run under wine, which cannot start the Linux programs.
  return name + " is a Linux program: the Windows build checks its workbooks on Linux only";
#else
  if (Run("command -v " + name + " >/dev/null 2>&1")) return {};
  return name + " is missing";
#endif
}

std::string LibreOfficeCsv(const fs::path& file, const fs::path& work, int sheet, bool as_shown) {
  const fs::path out = FreshFolder(work, "libreoffice-");
  // Comma, double quote, UTF-8, from row 1, ..., contents as shown or raw, ..., sheet number.
  const std::string filter =
      std::string("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,") +
      (as_shown ? "true" : "false") + ",false,false," + std::to_string(sheet + 1);
  const std::string command = "cd " + Quoted(work) +
                              " && soffice --headless -env:UserInstallation=file://" +
                              (work / "profile").string() + " --convert-to '" + filter +
                              "' --outdir " + Quoted(out) + " " + Quoted(file) + " >/dev/null 2>&1";
  if (!Run(command)) return {};
  // LibreOffice names the file after the sheet when one is chosen; there is only one.
  for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
    if (entry.path().extension() == ".csv") return ReadText(entry.path());
  }
  return {};
}

std::vector<std::string> GnumericCsv(const fs::path& file, const fs::path& work) {
  const fs::path out = FreshFolder(work, "gnumeric-");
  if (!Run("ssconvert -S " + Quoted(file) + " " + Quoted(out / "sheet.%n.csv") +
           " >/dev/null 2>&1")) {
    return {};
  }
  std::vector<std::string> sheets;
  for (int n = 0; fs::exists(out / ("sheet." + std::to_string(n) + ".csv")); ++n) {
    sheets.push_back(ReadText(out / ("sheet." + std::to_string(n) + ".csv")));
  }
  return sheets;
}

fs::path LibreOfficePdf(const fs::path& file, const fs::path& work) {
  const fs::path out = FreshFolder(work, "libreoffice-");
  const std::string command = "cd " + Quoted(work) +
                              " && soffice --headless -env:UserInstallation=file://" +
                              (work / "profile").string() + " --convert-to pdf --outdir " +
                              Quoted(out) + " " + Quoted(file) + " >/dev/null 2>&1";
  if (!Run(command)) return {};
  for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
    if (entry.path().extension() == ".pdf") return entry.path();
  }
  return {};
}

}  // namespace test_support
