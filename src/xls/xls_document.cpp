#include "xls/xls_document.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string_view>
#include <system_error>
#include <utility>

#include "xls/biff/biff_format_error.h"
#include "xls/cfb/cfb_constants.h"
#include "xls/failure.h"
#include "xls/file/atomic_save.h"
#include "xls/file/lock_files.h"
#include "xls/file/whole_file.h"
#include "xls/formula/workbook_calculation.h"

namespace xls {

namespace {

constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;

constexpr std::uint8_t kZipSignature[] = {'P', 'K', 3, 4};
// An OpenDocument file starts with an uncompressed member "mimetype" holding this text,
// right after the 30-byte local header and the 8-byte name.
constexpr std::string_view kOpenDocumentMimeType = "mimetypeapplication/vnd.oasis.opendocument";
constexpr std::size_t kZipMemberNameOffset = 30;

bool StartsWith(const std::vector<std::uint8_t>& bytes, std::span<const std::uint8_t> prefix,
                std::size_t at = 0) {
  return bytes.size() >= at + prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// Which of the usual impostors a file that is not a compound file is.
FailureKind ForeignFormat(const std::vector<std::uint8_t>& bytes) {
  if (!StartsWith(bytes, kZipSignature)) return FailureKind::kNotAnOfficeFile;
  const auto* mime = reinterpret_cast<const std::uint8_t*>(kOpenDocumentMimeType.data());
  if (StartsWith(bytes, {mime, kOpenDocumentMimeType.size()}, kZipMemberNameOffset)) {
    return FailureKind::kOdsFormat;
  }
  return FailureKind::kXlsxFormat;
}

FailureKind KindOfBiffProblem(biff::FormatProblem problem) {
  switch (problem) {
    case biff::FormatProblem::kEncrypted:
      return FailureKind::kEncrypted;
    case biff::FormatProblem::kOlderFormat:
      return FailureKind::kOldFormat;
    case biff::FormatProblem::kDamaged:
      break;
  }
  return FailureKind::kDamaged;
}

// Callers count rows and columns from 1, the file from 0; CheckCell has bounded both.
biff::CellAddress ToCellAddress(int row, int column) {
  return {static_cast<std::uint16_t>(row - 1), static_cast<std::uint16_t>(column - 1)};
}

}  // namespace

XlsDocument::XlsDocument(std::filesystem::path path, std::vector<std::uint8_t> bytes)
    : path_(std::move(path)), file_bytes_(std::move(bytes)) {}

std::unique_ptr<XlsDocument> XlsDocument::Open(const std::filesystem::path& path) {
  // A save in place that died half-way left the old contents beside the file.
  file::RecoverInterruptedSave(path);
  std::vector<std::uint8_t> bytes;
  try {
    bytes = file::ReadWholeFile(path);
  } catch (const std::system_error& e) {
    throw Failure(KindOfSystemError(e.code()), path, e.code());
  }
  if (!StartsWith(bytes, cfb::kSignature)) throw Failure(ForeignFormat(bytes), path);
  std::unique_ptr<XlsDocument> document(new XlsDocument(path, std::move(bytes)));
  try {
    document->container_ = cfb::CompoundFile::Read(document->file_bytes_);
  } catch (const cfb::FormatError&) {
    throw Failure(FailureKind::kDamaged, path);
  }
  std::optional<std::vector<std::uint8_t>> stream;
  for (const std::u16string_view name : {u"Workbook", u"Book"}) {
    stream = document->container_->ReadStream(name);
    if (stream) {
      document->stream_name_ = name;
      break;
    }
  }
  if (!stream) throw Failure(FailureKind::kNoWorkbookStream, path);
  try {
    document->book_ = biff::BiffWorkbook::Parse(*stream);
  } catch (const biff::BiffFormatError& e) {
    throw Failure(KindOfBiffProblem(e.Problem()), path);
  }
  return document;
}

std::size_t XlsDocument::WorksheetIndex(std::u16string_view name) const {
  if (const std::optional<std::size_t> sheet = book_.FindWorksheet(name)) return *sheet;
  throw Failure(FailureKind::kNoSuchSheet, path_).WithSheet(std::u16string(name));
}

void XlsDocument::CheckCell(std::size_t sheet, int row, int column) const {
  if (row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns) return;
  throw Failure(FailureKind::kCellOutOfRange, path_)
      .WithSheet(book_.SheetName(sheet))
      .WithCell(row, column);
}

std::u16string XlsDocument::Cell(std::size_t sheet, int row, int column) const {
  CheckCell(sheet, row, column);
  return book_.CellText(sheet, ToCellAddress(row, column));
}

void XlsDocument::SetCell(std::size_t sheet, int row, int column, std::u16string_view text) {
  CheckCell(sheet, row, column);
  uncomputed_at_save_.reset();
  try {
    book_.SetCellText(sheet, ToCellAddress(row, column), text);
  } catch (const biff::TextTooLong& too_long) {
    throw Failure(FailureKind::kTextTooLong, path_)
        .WithSheet(book_.SheetName(sheet))
        .WithCell(row, column)
        .WithTextLength(too_long.Length());
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
    // Records that outgrow their format, say: nothing the caller did wrong.
    throw Failure(FailureKind::kInternal, path_).WithSheet(book_.SheetName(sheet));
  }
}

void XlsDocument::Save(const std::function<void()>& while_locked) {
  if (std::optional<LockHolder> holder = file::FindLockHolder(path_)) {
    // The program holding it keeps showing what it read; an unchanged workbook has nothing
    // to tell it, so reading at start-up goes on as if it had been written.
    if (!book_.Modified()) {
      if (while_locked) while_locked();
      return;
    }
    throw Failure(FailureKind::kHeldByAnotherProgram, path_).WithHolder(*holder).DuringSave();
  }
  // An unchanged workbook is written back exactly as it was read.
  std::vector<std::uint8_t> rebuilt;
  std::optional<std::vector<formula::UncomputedCells>> uncomputed;
  if (book_.Modified()) {
    try {
      // As a spreadsheet program saves: every formula's stored result is its result now.
      const formula::WorkbookCalculation calculation(
          book_, formula::CurrentSerialTime(formula::UsesDate1904(book_)));
      calculation.Store(book_);
      uncomputed = calculation.Uncomputed();
      cfb::CompoundFile container = *container_;
      container.ReplaceStream(stream_name_, book_.Serialize());
      rebuilt = container.Write();
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception&) {
      // The workbook grew beyond what its format can hold; the file is not touched.
      throw Failure(FailureKind::kInternal, path_).DuringSave();
    }
  }
  try {
    file::SaveFileAtomically(path_, book_.Modified() ? rebuilt : file_bytes_, while_locked);
  } catch (const file::SaveBlocked& e) {
    const bool shareable = e.WhatStops() == file::SaveBlocked::Reason::kBackupNotShareable;
    throw Failure(shareable ? FailureKind::kBackupNotShareable : FailureKind::kBackupOutOfReach,
                  path_, e.code())
        .WithObstacle(e.File())
        .DuringSave();
  } catch (const std::system_error& e) {
    throw Failure(KindOfSystemError(e.code()), path_, e.code()).DuringSave();
  }
  uncomputed_at_save_ = std::move(uncomputed);
}

}  // namespace xls
