#pragma once

#include <cerrno>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "xls/file/lock_holder.h"

namespace xls {

using file::LockHolder;

// What went wrong with a workbook, as far as the engine can tell. The engine says no
// more than this: wording for people is the caller's business.
enum class FailureKind {
  kNotFound,              // no file at the path, or a folder on the way is missing
  kPermissionDenied,      // the system or a read-only flag refuses the access
  kHeldByAnotherProgram,  // another program has the file open and locked
  kDiskFull,              // no room (or no quota) left for the saved copy
  kNotARegularFile,       // a folder, pipe or device where a file should be
  kTooLarge,              // far larger than any workbook the engine holds in memory
  kInputOutput,           // any other refusal of the system, with its error code
  kNotAnOfficeFile,       // neither a compound file nor a zip archive
  kDamaged,               // a compound file or Workbook stream that does not hold together
  kEncrypted,             // protected by an opening password
  kOldFormat,             // Excel 95 or older (BIFF5 and before)
  kXlsxFormat,            // an Office Open XML workbook named .xls
  kOdsFormat,             // an OpenDocument spreadsheet named .xls
  kNoWorkbookStream,      // a compound file without a workbook in it (a Word file, say)
  kNoSuchSheet,           // no worksheet of that name
  kCellOutOfRange,        // outside 65536 rows and 256 columns
  kTextTooLong,           // more characters than a cell holds
  kInternal,              // the engine could not do what it should have been able to do
  kBackupOutOfReach,      // an interrupted save's backup this user may neither read nor retire
  kBackupNotShareable,    // a save's backup could not be made readable to all who read the file
};

// The failure of one engine operation: its kind, the workbook's path, the sheet or cell
// concerned where there is one, and the system's error code where the system refused.
class Failure : public std::exception {
 public:
  Failure(FailureKind kind, std::filesystem::path path, std::error_code system_error = {})
      : kind_(kind), path_(std::move(path)), system_error_(system_error) {}

  FailureKind Kind() const { return kind_; }
  const std::filesystem::path& Path() const { return path_; }
  std::error_code SystemError() const { return system_error_; }

  const std::u16string& Sheet() const { return sheet_; }
  Failure& WithSheet(std::u16string sheet) {
    sheet_ = std::move(sheet);
    return *this;
  }

  // The cell (row, column from 1) of a kCellOutOfRange or kTextTooLong failure.
  struct CellPosition {
    int row = 0;
    int column = 0;
  };
  const std::optional<CellPosition>& Cell() const { return cell_; }
  Failure& WithCell(int row, int column) {
    cell_ = CellPosition{row, column};
    return *this;
  }

  // Whether the failure came while writing the workbook back (the file is then unchanged)
  // rather than while reading or editing it.
  bool WhileSaving() const { return while_saving_; }
  Failure& DuringSave() {
    while_saving_ = true;
    return *this;
  }

  // How many characters a kTextTooLong text had.
  std::size_t TextLength() const { return text_length_; }
  Failure& WithTextLength(std::size_t length) {
    text_length_ = length;
    return *this;
  }

  // Who holds a kHeldByAnotherProgram workbook, where their program's lock file says so.
  const std::optional<LockHolder>& Holder() const { return holder_; }
  Failure& WithHolder(LockHolder holder) {
    holder_ = std::move(holder);
    return *this;
  }

  // The file beside the workbook that stopped the operation, where one did.
  const std::filesystem::path& Obstacle() const { return obstacle_; }
  Failure& WithObstacle(std::filesystem::path file) {
    obstacle_ = std::move(file);
    return *this;
  }

  // For logs and debuggers only; never shown to the clerk.
  const char* what() const noexcept override;

 private:
  FailureKind kind_;
  std::filesystem::path path_;
  std::error_code system_error_;
  std::u16string sheet_;
  std::optional<CellPosition> cell_;
  std::size_t text_length_ = 0;
  std::optional<LockHolder> holder_;
  std::filesystem::path obstacle_;
  bool while_saving_ = false;
};

// The kind of failure a refusal of the system with this code means.
FailureKind KindOfSystemError(std::error_code code);

// Every kind, for code that must cover them all.
inline constexpr FailureKind kEveryFailureKind[] = {
    FailureKind::kNotFound,
    FailureKind::kPermissionDenied,
    FailureKind::kHeldByAnotherProgram,
    FailureKind::kDiskFull,
    FailureKind::kNotARegularFile,
    FailureKind::kTooLarge,
    FailureKind::kInputOutput,
    FailureKind::kNotAnOfficeFile,
    FailureKind::kDamaged,
    FailureKind::kEncrypted,
    FailureKind::kOldFormat,
    FailureKind::kXlsxFormat,
    FailureKind::kOdsFormat,
    FailureKind::kNoWorkbookStream,
    FailureKind::kNoSuchSheet,
    FailureKind::kCellOutOfRange,
    FailureKind::kTextTooLong,
    FailureKind::kInternal,
    FailureKind::kBackupOutOfReach,
    FailureKind::kBackupNotShareable,
};

}  // namespace xls
