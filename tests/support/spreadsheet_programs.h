#pragma once

// Spreadsheet programs we did not write, run headless, to see what they make of the
// workbooks we write. Tests skip themselves where a program is missing.

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

// Runs a shell command; true when it exits with 0.
bool Run(const std::string& command);
// Why a program cannot be used here ("soffice", "ssconvert"); empty when it can.
std::string MissingProgram(const std::string& name);

// One sheet of a workbook (0 is the first) as CSV text in UTF-8, as LibreOffice converts it;
// empty when the conversion failed. `as_shown` writes cell texts with their number formats
// applied, otherwise the raw values. `work` holds LibreOffice's profile and the output.
std::string LibreOfficeCsv(const std::filesystem::path& file, const std::filesystem::path& work,
                           int sheet = 0, bool as_shown = true);

// Every sheet of a workbook as CSV text, as gnumeric's ssconvert converts it; empty when the
// conversion failed.
std::vector<std::string> GnumericCsv(const std::filesystem::path& file,
                                     const std::filesystem::path& work);

// The workbook printed to PDF by LibreOffice (every sheet, in order); the PDF's path, or
// nothing when the conversion failed.
std::filesystem::path LibreOfficePdf(const std::filesystem::path& file,
                                     const std::filesystem::path& work);

}  // namespace test_support
