#include "xls/biff/workbook_globals.h"

#include "xls/biff/biff_format_error.h"
#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

constexpr std::uint16_t kBuiltInTextFormat = 49;  // "@"

Record NewRecalcId() {
  Record record{record_type::kRecalcId, {}};
  AppendU16(record.body, record_type::kRecalcId);  // rt: a future record repeats its type
  AppendU16(record.body, 0);                       // grbitFrt
  AppendU32(record.body, 0);                       // dwBuild: older than any engine
  return record;
}

// Where a RecalcId belongs when a workbook lacks one: after the external references and
// names, before drawings and shared strings.
bool RecalcIdGoesBefore(std::uint16_t type) {
  return type == record_type::kMsoDrawingGroup || type == record_type::kSst ||
         type == record_type::kExtSst || type == record_type::kEof;
}

}  // namespace

WorkbookGlobals WorkbookGlobals::Parse(const Substream& globals) {
  if (globals.version != bof_record::kBiff8 || globals.type != substream_type::kGlobals) {
    throw BiffFormatError("not a BIFF8 workbook", FormatProblem::kOlderFormat);
  }
  WorkbookGlobals parsed;
  const std::vector<Record>& records = globals.records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Record& record = records[i];
    switch (record.type) {
      case record_type::kFilePass:
        throw BiffFormatError("workbook is encrypted", FormatProblem::kEncrypted);
      case record_type::kBoundSheet:
        parsed.sheets_.push_back({ReadShortUnicodeString(record.body, bound_sheet_record::kName),
                                  GetU32(record.body, bound_sheet_record::kPosition), i});
        break;
      case record_type::kXf:
        parsed.xfs_.push_back({GetU16(record.body, xf_record::kFormat), i});
        break;
      case record_type::kFormat:
        parsed.formats_[GetU16(record.body, format_record::kIndex)] =
            ReadUnicodeString(record.body, format_record::kCode);
        break;
      case record_type::kDateMode:
        // Formulas and printing read a damaged one as the 1900 system rather than fail.
        parsed.date1904_ = record.body.size() >= date_mode_record::kIs1904 + 2 &&
                           GetU16(record.body, date_mode_record::kIs1904) != 0;
        break;
      case record_type::kSst: {
        if (parsed.sst_index_) break;  // a second table would be damage; the first one counts
        std::vector<std::vector<std::uint8_t>> chunks{record.body};
        std::size_t next = i + 1;
        while (next < records.size() && records[next].type == record_type::kContinue) {
          chunks.push_back(records[next++].body);
        }
        parsed.strings_ = SharedStringTable::Parse(std::move(chunks));
        parsed.sst_index_ = i;
        parsed.sst_record_count_ = next - i;
        break;
      }
      case record_type::kExtSst:
        parsed.ext_sst_index_ = i;
        break;
      default:
        break;
    }
  }
  return parsed;
}

bool WorkbookGlobals::IsTextFormat(std::uint16_t xf) const {
  if (xf >= xfs_.size()) return false;
  const std::uint16_t format = xfs_[xf].number_format;
  if (format == kBuiltInTextFormat) return true;
  const auto custom = formats_.find(format);
  return custom != formats_.end() && custom->second == u"@";
}

std::vector<Record> WorkbookGlobals::Rewrite(const Substream& original,
                                             const std::vector<std::uint32_t>& sheet_offsets,
                                             std::size_t globals_offset) const {
  std::vector<Record> out;
  std::size_t position = globals_offset;
  bool recalc_id_seen = false;
  for (const Record& record : original.records) {
    recalc_id_seen = recalc_id_seen || record.type == record_type::kRecalcId;
  }
  const auto emit = [&](Record record) {
    position += record.Size();
    out.push_back(std::move(record));
  };
  // The table is laid out anew on every write, and its index with it.
  const auto emit_strings = [&] {
    const std::size_t sst_position = position;
    for (Record& record : strings_.Records()) emit(std::move(record));
    emit(strings_.ExtSstRecord(sst_position));
  };
  const std::vector<Record>& records = original.records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Record& record = records[i];
    if (!recalc_id_seen && RecalcIdGoesBefore(record.type)) {
      emit(NewRecalcId());
      recalc_id_seen = true;
    }
    if (record.type == record_type::kEof && !sst_index_ && strings_.Count() > 0) emit_strings();
    if (sst_index_ && i == *sst_index_) {
      emit_strings();
      i += sst_record_count_ - 1;
      continue;
    }
    if (ext_sst_index_ && i == *ext_sst_index_ && sst_index_) continue;
    Record copy = record;
    if (record.type == record_type::kBoundSheet) {
      for (std::size_t s = 0; s < sheets_.size(); ++s) {
        if (sheets_[s].record_index == i)
          PutU32(copy.body, bound_sheet_record::kPosition, sheet_offsets[s]);
      }
    } else if (record.type == record_type::kRecalcId &&
               copy.body.size() >= recalc_id_record::kBodySize) {
      PutU32(copy.body, recalc_id_record::kBuild, 0);
    }
    emit(std::move(copy));
  }
  return out;
}

}  // namespace xls::biff
