#include "xls/failure.h"

#include <cerrno>

#include "xls/file/file_operations.h"

namespace xls {

const char* Failure::what() const noexcept {
  switch (kind_) {
    case FailureKind::kNotFound:
      return "workbook not found";
    case FailureKind::kPermissionDenied:
      return "permission denied";
    case FailureKind::kHeldByAnotherProgram:
      return "workbook held by another program";
    case FailureKind::kDiskFull:
      return "disk full";
    case FailureKind::kNotARegularFile:
      return "not a regular file";
    case FailureKind::kTooLarge:
      return "file too large";
    case FailureKind::kInputOutput:
      return "input/output error";
    case FailureKind::kNotAnOfficeFile:
      return "not an Excel workbook";
    case FailureKind::kDamaged:
      return "workbook damaged";
    case FailureKind::kEncrypted:
      return "workbook encrypted";
    case FailureKind::kOldFormat:
      return "workbook older than BIFF8";
    case FailureKind::kXlsxFormat:
      return "an .xlsx workbook";
    case FailureKind::kOdsFormat:
      return "an .ods spreadsheet";
    case FailureKind::kNoWorkbookStream:
      return "no Workbook stream";
    case FailureKind::kNoSuchSheet:
      return "no such sheet";
    case FailureKind::kCellOutOfRange:
      return "cell out of range";
    case FailureKind::kTextTooLong:
      return "text too long for a cell";
    case FailureKind::kInternal:
      return "internal engine failure";
    case FailureKind::kBackupOutOfReach:
      return "a backup of an interrupted save is out of reach";
    case FailureKind::kBackupNotShareable:
      return "the save's backup cannot be shared like the workbook";
  }
  return "workbook failure";
}

FailureKind KindOfSystemError(std::error_code code) {
  // Sharing and lock violations: the way Windows says another program has the file open.
  if (file::MeansHeldByAnotherProgram(code)) return FailureKind::kHeldByAnotherProgram;
  if (code == std::errc::no_such_file_or_directory || code == std::errc::not_a_directory) {
    return FailureKind::kNotFound;
  }
  if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted ||
      code == std::errc::read_only_file_system) {
    return FailureKind::kPermissionDenied;
  }
  if (code == std::errc::device_or_resource_busy || code == std::errc::text_file_busy) {
    return FailureKind::kHeldByAnotherProgram;
  }
  if (code == std::errc::no_space_on_device) return FailureKind::kDiskFull;
#ifdef EDQUOT
  if (code.value() == EDQUOT && code.category() == std::generic_category()) {
    return FailureKind::kDiskFull;
  }
#endif
  if (code == std::errc::is_a_directory || code == std::errc::no_such_device ||
      code == std::errc::no_such_device_or_address) {
    return FailureKind::kNotARegularFile;
  }
  if (code == std::errc::file_too_large) return FailureKind::kTooLarge;
  return FailureKind::kInputOutput;
}

}  // namespace xls
