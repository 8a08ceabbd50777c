#include "xls/formula/workbook_links.h"

#include <span>

#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/name_record.h"

namespace xls::formula {

namespace {

using biff::GetU16;
using biff::GetU8;

// SUPBOOK's second field, where a path would begin, marks the books that are not files.
constexpr std::size_t kSupBookMarker = 2;
constexpr std::uint16_t kThisWorkbookMarker = 0x0401;
constexpr std::uint16_t kAddInMarker = 0x3A01;

constexpr std::size_t kExternSheetEntries = 2;
constexpr std::size_t kExternSheetEntrySize = 6;
constexpr std::uint16_t kNoSuchSheet = 0xFFFE;  // and 0xFFFF: the sheet was deleted

// EXTERNNAME: flags and four reserved bytes, then the name as a short Unicode string.
constexpr std::size_t kExternNameText = 6;

// A record's body with the CONTINUE bodies after it.
std::vector<std::uint8_t> Joined(const std::vector<biff::Record>& records, std::size_t at) {
  std::vector<std::uint8_t> body = records[at].body;
  for (std::size_t i = at + 1;
       i < records.size() && records[i].type == biff::record_type::kContinue; ++i) {
    body.insert(body.end(), records[i].body.begin(), records[i].body.end());
  }
  return body;
}

}  // namespace

WorkbookLinks WorkbookLinks::Parse(const std::vector<biff::Record>& globals) {
  WorkbookLinks links;
  for (std::size_t i = 0; i < globals.size(); ++i) {
    const biff::Record& record = globals[i];
    try {
      switch (record.type) {
        case biff::record_type::kSupBook: {
          SupportingBook book;
          const std::uint16_t marker = GetU16(record.body, kSupBookMarker);
          book.kind = marker == kThisWorkbookMarker ? SupportingBook::Kind::kThisWorkbook
                      : marker == kAddInMarker      ? SupportingBook::Kind::kAddIn
                                                    : SupportingBook::Kind::kOther;
          links.books_.push_back(std::move(book));
          break;
        }
        case biff::record_type::kExternName:
          if (!links.books_.empty()) {
            links.books_.back().names.push_back(
                biff::ReadShortUnicodeString(record.body, kExternNameText));
          }
          break;
        case biff::record_type::kExternSheet: {
          const std::vector<std::uint8_t> body = Joined(globals, i);
          const std::size_t count = GetU16(body, 0);
          for (std::size_t e = 0; e < count; ++e) {
            const std::size_t at = kExternSheetEntries + e * kExternSheetEntrySize;
            if (body.size() < at + kExternSheetEntrySize) break;
            links.extern_sheets_.push_back(
                {GetU16(body, at), GetU16(body, at + 2), GetU16(body, at + 4)});
          }
          break;
        }
        case biff::record_type::kName:
          links.names_.push_back(biff::ReadName(Joined(globals, i)));
          break;
        default:
          break;
      }
    } catch (const biff::BiffFormatError&) {
      // A damaged link only makes the formulas that use it uncomputable; a name keeps its
      // place so that the later ones keep their numbers.
      if (record.type == biff::record_type::kName) links.names_.emplace_back();
    }
  }
  return links;
}

std::optional<WorkbookLinks::SheetSpan> WorkbookLinks::Sheets(std::uint16_t ixti) const {
  if (ixti >= extern_sheets_.size()) return std::nullopt;
  const ExternSheet& entry = extern_sheets_[ixti];
  SheetSpan span;
  span.supporting_book = entry.book;
  if (entry.book >= books_.size()) return std::nullopt;
  switch (books_[entry.book].kind) {
    case SupportingBook::Kind::kThisWorkbook:
      span.kind = entry.first >= kNoSuchSheet || entry.last >= kNoSuchSheet
                      ? SheetSpan::Kind::kDeletedSheet
                      : SheetSpan::Kind::kThisWorkbook;
      break;
    case SupportingBook::Kind::kAddIn:
      span.kind = SheetSpan::Kind::kAddIn;
      break;
    case SupportingBook::Kind::kOther:
      span.kind = SheetSpan::Kind::kOtherWorkbook;
      break;
  }
  span.first = entry.first;
  span.last = entry.last;
  return span;
}

const WorkbookLinks::DefinedName* WorkbookLinks::Name(std::uint16_t index) const {
  if (index == 0 || index > names_.size()) return nullptr;
  return &names_[index - 1];
}

const std::u16string* WorkbookLinks::ExternalName(std::size_t supporting_book,
                                                  std::uint16_t index) const {
  if (supporting_book >= books_.size()) return nullptr;
  const std::vector<std::u16string>& names = books_[supporting_book].names;
  if (index == 0 || index > names.size()) return nullptr;
  return &names[index - 1];
}

}  // namespace xls::formula
