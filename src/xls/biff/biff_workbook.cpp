#include "xls/biff/biff_workbook.h"

#include "base/ascii_case.h"
#include "xls/biff/biff_format_error.h"
#include "xls/biff/numeric_input.h"

namespace xls::biff {

namespace {

void AppendBytes(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace

BiffWorkbook BiffWorkbook::Parse(std::span<const std::uint8_t> stream) {
  BiffWorkbook book;
  book.substreams_ = SplitSubstreams(stream);
  if (book.substreams_.substreams.empty()) throw BiffFormatError("no BOF at the start");
  book.globals_ = WorkbookGlobals::Parse(book.substreams_.substreams[0]);
  std::vector<Substream>& substreams = book.substreams_.substreams;
  book.worksheets_.resize(substreams.size());
  for (std::size_t i = 1; i < substreams.size(); ++i) {
    if (substreams[i].type != substream_type::kWorksheet) continue;
    book.worksheets_[i] = SheetSubstream::Parse(std::move(substreams[i]), book.globals_.Strings());
    substreams[i].records.clear();
  }
  const std::vector<SheetEntry>& entries = book.globals_.Sheets();
  book.entry_substream_.resize(entries.size());
  for (std::size_t e = 0; e < entries.size(); ++e) {
    for (std::size_t i = 1; i < substreams.size(); ++i) {
      if (substreams[i].offset == entries[e].offset) book.entry_substream_[e] = i;
    }
    // Some writers leave lbPlyPos wrong; the sheets still follow the globals in order.
    if (!book.entry_substream_[e] && e + 1 < substreams.size() &&
        entries.size() == substreams.size() - 1) {
      book.entry_substream_[e] = e + 1;
    }
    if (book.entry_substream_[e] && book.worksheets_[*book.entry_substream_[e]]) {
      book.sheets_.push_back({e, *book.entry_substream_[e]});
    }
  }
  return book;
}

const std::u16string& BiffWorkbook::SheetName(std::size_t sheet) const {
  return globals_.Sheets().at(sheets_.at(sheet).entry).name;
}

std::optional<std::size_t> BiffWorkbook::FindWorksheet(std::u16string_view name) const {
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    if (base::EqualIgnoringAsciiCase<char16_t>(SheetName(i), name)) return i;
  }
  return std::nullopt;
}

const SheetSubstream& BiffWorkbook::Sheet(std::size_t sheet) const {
  return *worksheets_.at(sheets_.at(sheet).substream);
}

SheetSubstream& BiffWorkbook::Sheet(std::size_t sheet) {
  return *worksheets_.at(sheets_.at(sheet).substream);
}

const std::vector<Record>& BiffWorkbook::GlobalsRecords() const {
  return substreams_.substreams.front().records;
}

std::vector<std::optional<std::size_t>> BiffWorkbook::WorksheetOfEntries() const {
  std::vector<std::optional<std::size_t>> sheets(globals_.Sheets().size());
  for (std::size_t i = 0; i < sheets_.size(); ++i) sheets[sheets_[i].entry] = i;
  return sheets;
}

std::u16string BiffWorkbook::CellText(std::size_t sheet, CellAddress cell_address) const {
  const CellData* cell = Sheet(sheet).Find(cell_address);
  return cell == nullptr ? std::u16string() : DisplayText(cell->value);
}

void BiffWorkbook::SetCellText(std::size_t sheet, CellAddress cell, std::u16string_view text) {
  if (text.size() > kMaxCellText) throw TextTooLong(text.size());
  SheetSubstream& target = *worksheets_.at(sheets_.at(sheet).substream);
  written_.insert({sheet, cell});
  if (text.empty()) {
    target.ClearValue(cell);
    return;
  }
  if (!globals_.IsTextFormat(target.XfForWrite(cell))) {
    if (const std::optional<double> number = ParseNumericInput(text)) {
      target.SetNumber(cell, *number);
      return;
    }
  }
  const std::uint32_t index = globals_.Strings().Add(text);
  target.SetSharedString(cell, index, *globals_.Strings().Find(index));
}

bool BiffWorkbook::Modified() const {
  for (const auto& sheet : worksheets_) {
    if (sheet && sheet->Modified()) return true;
  }
  return false;
}

void BiffWorkbook::CompactSharedStrings() {
  // Only the strings some cell still shows are written: an earlier export's texts go.
  SharedStringTable& strings = globals_.Strings();
  std::vector<bool> used(strings.Count(), false);
  for (const auto& sheet : worksheets_) {
    if (sheet) sheet->MarkUsedStrings(used);
  }
  const std::vector<std::uint32_t> new_index = strings.Compact(used);
  std::size_t references = 0;
  for (auto& sheet : worksheets_) {
    if (!sheet) continue;
    sheet->RenumberStrings(new_index);
    references += sheet->SharedStringReferences();
  }
  strings.SetTotalReferences(static_cast<std::uint32_t>(references));
}

std::vector<std::uint8_t> BiffWorkbook::SerializeSheets(std::size_t globals_size,
                                                        std::vector<std::size_t>& offsets) {
  const std::vector<Substream>& substreams = substreams_.substreams;
  offsets.assign(substreams.size(), 0);
  std::vector<std::uint8_t> body;
  std::size_t position = globals_size;
  for (std::size_t i = 1; i < substreams.size(); ++i) {
    offsets[i] = position;
    std::vector<std::uint8_t> bytes;
    if (worksheets_[i]) {
      bytes = worksheets_[i]->Serialize(position);
    } else {
      for (const Record& record : substreams[i].records) AppendRecord(bytes, record);
    }
    position += bytes.size();
    AppendBytes(body, bytes);
  }
  return body;
}

std::vector<std::uint8_t> BiffWorkbook::Serialize() {
  const std::vector<Substream>& substreams = substreams_.substreams;
  const bool modified = Modified();
  if (modified) CompactSharedStrings();
  const std::size_t sheet_entries = globals_.Sheets().size();
  std::vector<std::uint32_t> offsets(sheet_entries, 0);
  // The globals' size does not depend on the offsets they hold, so a first pass with
  // placeholders tells where the sheets will start.
  std::size_t globals_size = 0;
  const std::vector<Record> sized =
      modified ? globals_.Rewrite(substreams[0], offsets, 0) : substreams[0].records;
  for (const Record& record : sized) globals_size += record.Size();
  std::vector<std::size_t> substream_offsets;
  const std::vector<std::uint8_t> body = SerializeSheets(globals_size, substream_offsets);
  for (std::size_t e = 0; e < sheet_entries; ++e) {
    offsets[e] = entry_substream_[e]
                     ? static_cast<std::uint32_t>(substream_offsets[*entry_substream_[e]])
                     : globals_.Sheets()[e].offset;
  }
  std::vector<std::uint8_t> stream;
  stream.reserve(globals_size + body.size() + substreams_.tail.size());
  const std::vector<Record> globals =
      modified ? globals_.Rewrite(substreams[0], offsets, 0) : substreams[0].records;
  for (const Record& record : globals) AppendRecord(stream, record);
  AppendBytes(stream, body);
  AppendBytes(stream, substreams_.tail);
  return stream;
}

}  // namespace xls::biff
