#pragma once

#include <stdexcept>
#include <string>

namespace workbook {

// Classic runtime error numbers, so that a message reads the way clerks have always seen it.
// Every number the program shows is here; failure_descriptions.cpp words the workbook's, the
// window's failure report the others.
namespace error_number {
inline constexpr int kOverflow = 6;  // a tally figure too large to compute; an export too long
                                     // for a sheet
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;  // no such sheet
inline constexpr int kInternalError = 51;       // a failure nobody foresaw
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAlreadyExists = 58;  // every name an export may take is taken
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kBadFileFormat = 321;  // invalid file format
inline constexpr int kCannotCreateObject = 429;
inline constexpr int kAutomation = 440;        // any other failure of the spreadsheet engine
inline constexpr int kNoCurrentRecord = 3021;  // the book holds no bill the export asks for
}  // namespace error_number

// A failed workbook operation. Every failure carries a number and a description; the
// description is Chinese, UTF-8, and names the file or sheet concerned. They are made in
// one place, failure_descriptions.cpp.
class AutomationError : public std::runtime_error {
 public:
  AutomationError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}

  int Number() const { return number_; }
  std::string Description() const { return what(); }

 private:
  int number_;
};

}  // namespace workbook
