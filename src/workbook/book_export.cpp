#include "workbook/book_export.h"

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/text_encoding.h"
#include "billbook/book_failure.h"
#include "billbook/exact_amount.h"
#include "workbook/failure_descriptions.h"
#include "xls/failure.h"
#include "xls/xls_document.h"

namespace workbook {

namespace {

namespace fs = std::filesystem;

constexpr int kFirstRow = 2;                       // below the headings
constexpr std::size_t kRowsBelowHeadings = 65535;  // of a sheet's 65536
constexpr int kMostCopies = 999;  // of one name, before the folder is taken as full

// An end of the period that no day reaches, as 全部 has at both.
bool IsOpenStart(int day) {
  return day <= billbook::AllDays().first_day;
}
bool IsOpenEnd(int day) {
  return day >= billbook::AllDays().last_day;
}

// Writes one sheet's cells; texts arrive as the book keeps them, in UTF-8. The template's
// columns are formatted, text or number, so a figure written as its text is stored as a
// number and a name that looks like one ("123") stays a name.
class SheetWriter {
 public:
  SheetWriter(xls::XlsDocument& document, std::u16string_view sheet)
      : document_(document), sheet_(document.WorksheetIndex(sheet)) {}

  void Put(int row, int column, std::string_view text) {
    // The cells below the headings are empty: an empty text needs no write.
    if (!text.empty()) document_.SetCell(sheet_, row, column, base::FromUtf8(text));
  }
  void Put(int row, int column, std::u16string_view text) {
    document_.SetCell(sheet_, row, column, text);
  }
  void PutCount(int row, int column, std::int64_t count) {
    Put(row, column, std::to_string(count));
  }
  void PutVolume(int row, int column, std::int64_t volume_e4) {
    Put(row, column, billbook::ScaledText(volume_e4, billbook::kVolumeDecimals));
  }
  void PutAmount(int row, int column, std::int64_t amount_fen) {
    Put(row, column, billbook::ScaledText(amount_fen, billbook::kFenDecimals));
  }

 private:
  xls::XlsDocument& document_;
  std::size_t sheet_;
};

std::u16string_view StateOf(const billbook::BillRow& bill) {
  if (bill.voided) return u"已作废";
  if (bill.revision_count > 1) return u"已更正";
  return u"";
}

void WriteBills(xls::XlsDocument& document, const std::vector<billbook::BillInFull>& bills) {
  SheetWriter sheet(document, kBillsSheet);
  int row = kFirstRow;
  for (const billbook::BillInFull& bill : bills) {
    sheet.Put(row, 1, bill.row.number);
    sheet.Put(row, 2, bill.row.time);
    sheet.Put(row, 3, bill.row.buyer);
    sheet.Put(row, 4, bill.row.seller);
    sheet.Put(row, 5, bill.scaler);
    sheet.PutVolume(row, 6, bill.volume_e4);
    sheet.PutAmount(row, 7, bill.amount_fen);
    if (const std::u16string_view state = StateOf(bill.row); !state.empty()) {
      sheet.Put(row, 8, state);
    }
    sheet.PutCount(row, 9, bill.row.revision_count);
    sheet.PutCount(row, 10, bill.print_count);
    ++row;
  }
}

// The line's eight fields follow the number in the tally's order (长度 … 金额), as shown.
void WriteLines(xls::XlsDocument& document, const std::vector<billbook::BillInFull>& bills) {
  SheetWriter sheet(document, kLinesSheet);
  int row = kFirstRow;
  for (const billbook::BillInFull& bill : bills) {
    for (const billbook::Line& line : bill.lines) {
      sheet.Put(row, 1, bill.row.number);
      for (std::size_t field = 0; field < line.size(); ++field) {
        sheet.Put(row, static_cast<int>(field) + 2, line[field]);
      }
      ++row;
    }
  }
}

// Per buyer in the order of their names' bytes, as the book's own summary sorts them.
void WriteBuyers(xls::XlsDocument& document, const std::vector<billbook::BillInFull>& bills) {
  std::map<std::string, billbook::Totals> buyers;
  billbook::Totals all;
  for (const billbook::BillInFull& bill : bills) {
    if (bill.row.voided) continue;
    for (billbook::Totals* totals : {&buyers[bill.row.buyer], &all}) {
      ++totals->bills;
      totals->volume_e4 += bill.volume_e4;
      totals->amount_fen += bill.amount_fen;
    }
  }
  SheetWriter sheet(document, kBuyersSheet);
  int row = kFirstRow;
  const auto put = [&](std::string_view buyer, const billbook::Totals& totals) {
    sheet.Put(row, 1, buyer);
    sheet.PutCount(row, 2, totals.bills);
    sheet.PutVolume(row, 3, totals.volume_e4);
    sheet.PutAmount(row, 4, totals.amount_fen);
    ++row;
  };
  for (const auto& [buyer, totals] : buyers) put(buyer, totals);
  put("合计", all);
}

// Refuses, before any file is made, an export that would not fit its sheets.
void CheckRows(const std::vector<billbook::BillInFull>& bills) {
  std::size_t lines = 0;
  std::set<std::string_view> buyers;
  for (const billbook::BillInFull& bill : bills) {
    lines += bill.lines.size();
    if (!bill.row.voided) buyers.insert(bill.row.buyer);
  }
  if (bills.size() > kRowsBelowHeadings) throw TooManyRowsToExportError(kBillsSheet, bills.size());
  if (lines > kRowsBelowHeadings) throw TooManyRowsToExportError(kLinesSheet, lines);
  // The buyers and the 合计; fewer than the bills, unless every bill has a buyer of its own.
  if (buyers.size() + 1 > kRowsBelowHeadings) {
    throw TooManyRowsToExportError(kBuyersSheet, buyers.size() + 1);
  }
}

// A copy of the template under the first free name. The copy is what takes the name, and
// it refuses a name that is taken, so of two PCs exporting the same days at once one gets
// the next name rather than both the same file.
fs::path ClaimName(const fs::path& folder, int first_day, int last_day,
                   const fs::path& template_file) {
  for (int copy = 1; copy <= kMostCopies; ++copy) {
    const fs::path file = folder / BookExportFileName(first_day, last_day, copy);
    std::error_code error;
    // Whatever stands at the name, a file, a folder or a dangling link, keeps it.
    if (fs::symlink_status(file, error).type() != fs::file_type::not_found) continue;
    if (fs::copy_file(template_file, file, fs::copy_options::none, error)) {
      // A template installed read-only must not make the owner's workbook read-only.
      fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, error);
      return file;
    }
    if (error == std::errc::file_exists) continue;
    throw DescribeEngineFailure(
        xls::Failure(xls::KindOfSystemError(error), file, error).DuringSave());
  }
  throw NoFreeExportNameError(folder / BookExportFileName(first_day, last_day));
}

// What went wrong reading the copy went wrong with the template, which the clerk can find.
xls::Failure OfTemplate(const xls::Failure& failure, const fs::path& template_file) {
  xls::Failure of_template(failure.Kind(), template_file, failure.SystemError());
  if (!failure.Sheet().empty()) of_template.WithSheet(failure.Sheet());
  return of_template;
}

void Fill(const fs::path& file, const fs::path& template_file,
          const std::vector<billbook::BillInFull>& bills) {
  std::unique_ptr<xls::XlsDocument> document;
  try {
    document = xls::XlsDocument::Open(file);
    // The sheets are looked up before anything is written, so a template without one
    // is told as the template's fault.
    for (const std::u16string_view sheet : {kBillsSheet, kLinesSheet, kBuyersSheet}) {
      document->WorksheetIndex(sheet);
    }
  } catch (const xls::Failure& failure) {
    throw DescribeEngineFailure(OfTemplate(failure, template_file));
  }
  try {
    WriteBills(*document, bills);
    WriteLines(*document, bills);
    WriteBuyers(*document, bills);
    document->Save();
  } catch (const xls::Failure& failure) {
    throw DescribeEngineFailure(failure);
  }
}

}  // namespace

fs::path BookExportTemplatePath(const fs::path& program_directory) {
  return program_directory / kBookExportTemplateFileName;
}

fs::path BookExportFileName(int first_day, int last_day, int copy) {
  char days[48];
  if (copy > 1) {
    std::snprintf(days, sizeof days, "-%08d-%08d-%d.xls", first_day, last_day, copy);
  } else {
    std::snprintf(days, sizeof days, "-%08d-%08d.xls", first_day, last_day);
  }
  return fs::path(u"账本" + base::FromUtf8(days));
}

fs::path ExportBook(const billbook::BillBook& book, const billbook::BillQuery& query,
                    const fs::path& folder, const fs::path& template_file) {
  std::vector<billbook::BillInFull> bills;
  try {
    bills = book.ListInFull(query);
  } catch (const billbook::BookError& error) {
    throw BookExportReadError(error.failure(), book.file());
  }
  if (bills.empty()) throw NoBillsToExportError();
  CheckRows(bills);
  std::error_code error;
  if (!fs::is_regular_file(template_file, error)) throw ExportTemplateMissingError(template_file);

  // The bills come oldest first.
  const int first_day =
      IsOpenStart(query.period.first_day) ? bills.front().row.day : query.period.first_day;
  const int last_day =
      IsOpenEnd(query.period.last_day) ? bills.back().row.day : query.period.last_day;
  const fs::path file = ClaimName(folder, first_day, last_day, template_file);
  try {
    Fill(file, template_file, bills);
  } catch (...) {
    // Half an export is no export: the name is free again for the next try.
    fs::remove(file, error);
    throw;
  }
  return file;
}

}  // namespace workbook
