#include "xls/biff/record.h"

#include <algorithm>
#include <stdexcept>

#include "xls/biff/byte_io.h"

namespace xls::biff {

namespace {

struct NamedRecord {
  std::uint16_t type;
  std::string_view name;
};

// Names as the file format documents them, so that a listing can be read beside it.
constexpr NamedRecord kRecordNames[] = {
    // The records the engine reads or writes.
    {record_type::kFormula, "FORMULA"},
    {record_type::kEof, "EOF"},
    {record_type::kCalcMode, "CALCMODE"},
    {record_type::kHeader, "HEADER"},
    {record_type::kFooter, "FOOTER"},
    {record_type::kExternSheet, "EXTERNSHEET"},
    {record_type::kName, "NAME"},
    {record_type::kVerticalPageBreaks, "VBREAK"},
    {record_type::kHorizontalPageBreaks, "HBREAK"},
    {record_type::kDateMode, "DATE1904"},
    {record_type::kExternName, "EXTERNNAME"},
    {record_type::kLeftMargin, "LEFTMARGIN"},
    {record_type::kRightMargin, "RIGHTMARGIN"},
    {record_type::kTopMargin, "TOPMARGIN"},
    {record_type::kBottomMargin, "BOTTOMMARGIN"},
    {record_type::kPrintHeaders, "PRINTHEADERS"},
    {record_type::kPrintGridlines, "PRINTGRIDLINES"},
    {record_type::kFilePass, "FILEPASS"},
    {record_type::kFont, "FONT"},
    {record_type::kContinue, "CONTINUE"},
    {record_type::kCodePage, "CODEPAGE"},
    {record_type::kDefColWidth, "DEFCOLWIDTH"},
    {record_type::kObj, "OBJ"},
    {record_type::kColInfo, "COLINFO"},
    {record_type::kWsBool, "WSBOOL"},
    {record_type::kHCenter, "HCENTER"},
    {record_type::kVCenter, "VCENTER"},
    {record_type::kBoundSheet, "BOUNDSHEET8"},
    {record_type::kPalette, "PALETTE"},
    {record_type::kStandardWidth, "STANDARDWIDTH"},
    {record_type::kSetup, "SETUP"},
    {record_type::kMulRk, "MULRK"},
    {record_type::kMulBlank, "MULBLANK"},
    {record_type::kRString, "RSTRING"},
    {record_type::kDbCell, "DBCELL"},
    {record_type::kXf, "XF"},
    {record_type::kMergeCells, "MERGECELLS"},
    {record_type::kMsoDrawingGroup, "MSODRAWINGGROUP"},
    {record_type::kSst, "SST"},
    {record_type::kLabelSst, "LABELSST"},
    {record_type::kExtSst, "EXTSST"},
    {record_type::kSupBook, "SUPBOOK"},
    {record_type::kRecalcId, "RECALCID"},
    {record_type::kDimensions, "DIMENSIONS"},
    {record_type::kBlank, "BLANK"},
    {record_type::kNumber, "NUMBER"},
    {record_type::kLabel, "LABEL"},
    {record_type::kBoolErr, "BOOLERR"},
    {record_type::kString, "STRING"},
    {record_type::kRow, "ROW"},
    {record_type::kIndex, "INDEX"},
    {record_type::kArray, "ARRAY"},
    {record_type::kDefaultRowHeight, "DEFAULTROWHEIGHT"},
    {record_type::kTable, "TABLE"},
    {record_type::kWindow2, "WINDOW2"},
    {record_type::kRk, "RK"},
    {record_type::kFormat, "FORMAT"},
    {record_type::kShrFmla, "SHRFMLA"},
    {record_type::kBof, "BOF"},
    {record_type::kHeaderFooter, "HEADERFOOTER"},
    // Records the engine carries through unread, named for the listings of other programs'
    // files.
    {0x000C, "CALCCOUNT"},
    {0x000E, "PRECISION"},
    {0x0010, "DELTA"},
    {0x0011, "ITERATION"},
    {0x0012, "PROTECT"},
    {0x001D, "SELECTION"},
    {0x003D, "WINDOW1"},
    {0x0040, "BACKUP"},
    {0x0041, "PANE"},
    {0x004D, "PLS"},
    {0x005C, "WRITEACCESS"},
    {0x005F, "SAVERECALC"},
    {0x0080, "GUTS"},
    {0x008C, "COUNTRY"},
    {0x008D, "HIDEOBJ"},
    {0x009C, "FNGROUPCOUNT"},
    {0x00C1, "MMS"},
    {0x00DA, "BOOKBOOL"},
    {0x00E1, "INTERFACEHDR"},
    {0x00E2, "INTERFACEEND"},
    {0x00EC, "MSODRAWING"},
    {0x013D, "TABID"},
    {0x0160, "USESELFS"},
    {0x0161, "DSF"},
    {0x01AF, "PROT4REV"},
    {0x01B6, "TXO"},
    {0x01B7, "REFRESHALL"},
    {0x01BC, "PROT4REVPASS"},
    {0x01C0, "EXCEL9FILE"},
    {0x0293, "STYLE"},
    {0x0863, "BOOKEXT"},
    {0x088C, "COMPAT12"},
    {0x0892, "STYLEEXT"},
    {0x0896, "THEME"},
};

}  // namespace

std::string_view RecordName(std::uint16_t type) {
  const auto named = std::find_if(std::begin(kRecordNames), std::end(kRecordNames),
                                  [type](const NamedRecord& entry) { return entry.type == type; });
  return named == std::end(kRecordNames) ? std::string_view() : named->name;
}

void AppendRecord(std::vector<std::uint8_t>& out, std::uint16_t type,
                  std::span<const std::uint8_t> body) {
  if (body.size() > 0xFFFF) throw std::length_error("BIFF record body longer than 65535 bytes");
  AppendU16(out, type);
  AppendU16(out, static_cast<std::uint16_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
}

}  // namespace xls::biff
