// libFuzzer entry point for the BIFF8 layer: any bytes, taken as a compound file's Workbook
// stream or as a bare stream, must either parse or raise BiffFormatError; every cell of
// what parses must read; and a workbook with cells written into it must write out and read
// back with those cells.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "xls/biff/biff_format_error.h"
#include "xls/biff/biff_workbook.h"
#include "xls/cfb/compound_file.h"

namespace {

std::vector<std::uint8_t> WorkbookStream(std::span<const std::uint8_t> bytes) {
  try {
    const auto file = xls::cfb::CompoundFile::Read(bytes);
    if (auto stream = file.ReadStream(u"Workbook")) return *stream;
  } catch (const xls::cfb::FormatError&) {
  }
  return {bytes.begin(), bytes.end()};
}

void ReadEveryCell(const xls::biff::BiffWorkbook& book) {
  for (std::size_t sheet = 0; sheet < book.SheetCount(); ++sheet) {
    for (const auto& [key, cell] : book.Sheet(sheet).Cells()) {
      (void)xls::biff::DisplayText(cell.value);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using xls::biff::BiffWorkbook;
  std::optional<BiffWorkbook> book;
  try {
    book = BiffWorkbook::Parse(WorkbookStream(std::span(data, size)));
  } catch (const xls::biff::BiffFormatError&) {
    return 0;
  }
  ReadEveryCell(*book);
  if (book->SheetCount() == 0) return 0;
  // One cell the input chooses, so that writes land in its formulas and shared ranges too.
  if (size >= 2) {
    const xls::biff::CellAddress chosen{static_cast<std::uint16_t>(data[size - 2] % 64),
                                        static_cast<std::uint16_t>(data[size - 1] % 16)};
    book->SetCellText(0, chosen, size % 2 ? u"𠮷" : u"7");
  }
  book->SetCellText(0, {2, 1}, u"买方");
  book->SetCellText(0, {4, 0}, u"320.00");
  book->SetCellText(0, {0, 0}, u"");
  const BiffWorkbook again = BiffWorkbook::Parse(book->Serialize());
  ReadEveryCell(again);
  if (again.CellText(0, {2, 1}) != u"买方") std::abort();
  return 0;
}
