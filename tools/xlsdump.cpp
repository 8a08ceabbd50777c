// xlsdump: lists the BIFF records of an .xls workbook's Workbook stream, one per line, for
// looking at what another program wrote or what a save changed (diff two dumps).
//
//   xlsdump FILE [BYTES]
//
// Each line: stream offset, record type (hex) and name where known, body length, and the
// first BYTES bytes of the body in hex (default 16). Substreams are indented below their BOF.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "utf8_command_line.h"
#include "xls/biff/record.h"
#include "xls/cfb/compound_file.h"
#include "xls/file/whole_file.h"

namespace {

const std::map<std::uint16_t, const char*>& RecordNames() {
  namespace record_type = xls::biff::record_type;
  static const std::map<std::uint16_t, const char*> names = {
      // The records the engine reads or writes.
      {record_type::kFormula, "FORMULA"},
      {record_type::kEof, "EOF"},
      {record_type::kCalcMode, "CALCMODE"},
      {record_type::kFilePass, "FILEPASS"},
      {record_type::kContinue, "CONTINUE"},
      {record_type::kCodePage, "CODEPAGE"},
      {record_type::kDefColWidth, "DEFCOLWIDTH"},
      {record_type::kColInfo, "COLINFO"},
      {record_type::kBoundSheet, "BOUNDSHEET8"},
      {record_type::kMulRk, "MULRK"},
      {record_type::kMulBlank, "MULBLANK"},
      {record_type::kRString, "RSTRING"},
      {record_type::kDbCell, "DBCELL"},
      {record_type::kXf, "XF"},
      {record_type::kMsoDrawingGroup, "MSODRAWINGGROUP"},
      {record_type::kSst, "SST"},
      {record_type::kLabelSst, "LABELSST"},
      {record_type::kExtSst, "EXTSST"},
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
      // Records the engine carries through unread.
      {0x000C, "CALCCOUNT"},
      {0x000E, "PRECISION"},
      {0x0010, "DELTA"},
      {0x0011, "ITERATION"},
      {0x0012, "PROTECT"},
      {0x0014, "HEADER"},
      {0x0015, "FOOTER"},
      {0x0018, "NAME"},
      {0x001B, "HBREAK"},
      {0x001D, "SELECTION"},
      {0x0022, "DATE1904"},
      {0x0026, "LEFTMARGIN"},
      {0x0027, "RIGHTMARGIN"},
      {0x0028, "TOPMARGIN"},
      {0x0029, "BOTTOMMARGIN"},
      {0x002A, "PRINTHEADERS"},
      {0x002B, "PRINTGRIDLINES"},
      {0x0031, "FONT"},
      {0x003D, "WINDOW1"},
      {0x0040, "BACKUP"},
      {0x0041, "PANE"},
      {0x004D, "PLS"},
      {0x005C, "WRITEACCESS"},
      {0x005F, "SAVERECALC"},
      {0x0080, "GUTS"},
      {0x0081, "WSBOOL"},
      {0x0083, "HCENTER"},
      {0x0084, "VCENTER"},
      {0x008C, "COUNTRY"},
      {0x008D, "HIDEOBJ"},
      {0x0092, "PALETTE"},
      {0x009C, "FNGROUPCOUNT"},
      {0x00A1, "SETUP"},
      {0x00C1, "MMS"},
      {0x00DA, "BOOKBOOL"},
      {0x00E1, "INTERFACEHDR"},
      {0x00E2, "INTERFACEEND"},
      {0x00E5, "MERGECELLS"},
      {0x00EC, "MSODRAWING"},
      {0x013D, "TABID"},
      {0x0160, "USESELFS"},
      {0x0161, "DSF"},
      {0x01AE, "SUPBOOK"},
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
      {0x089C, "HEADERFOOTER"},
  };
  return names;
}

std::uint16_t U16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void Dump(std::span<const std::uint8_t> stream, std::size_t shown_bytes) {
  int depth = 0;
  std::size_t at = 0;
  while (at + xls::biff::kRecordHeaderSize <= stream.size()) {
    const std::uint16_t type = U16(stream, at);
    const std::uint16_t length = U16(stream, at + 2);
    const auto name = RecordNames().find(type);
    if (type == xls::biff::record_type::kEof) depth = std::max(depth - 1, 0);
    std::printf("%08zx %*s%04x %-16s %5u ", at, 2 * depth, "", static_cast<unsigned>(type),
                name == RecordNames().end() ? "?" : name->second, static_cast<unsigned>(length));
    const std::size_t body = at + xls::biff::kRecordHeaderSize;
    const std::size_t available = std::min<std::size_t>(length, stream.size() - body);
    for (std::size_t i = 0; i < std::min(available, shown_bytes); ++i) {
      std::printf("%02x", static_cast<unsigned>(stream[body + i]));
    }
    std::printf(available < length ? " [cut short by the end of the stream]\n" : "\n");
    if (type == xls::biff::record_type::kBof) ++depth;
    at = body + available;
  }
  if (at < stream.size()) std::printf("%08zx %zu trailing bytes\n", at, stream.size() - at);
}

}  // namespace

int main(int argc, char** argv) {
  tools::PrintUtf8();
  const std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.empty() || args.size() > 2) {
    std::fprintf(stderr, "usage: xlsdump FILE [BYTES]\n");
    return 2;
  }
  const char* name = args[0].c_str();
  try {
    const std::vector<std::uint8_t> file =
        xls::file::ReadWholeFile(std::filesystem::path(base::FromUtf8(args[0])));
    const auto compound = xls::cfb::CompoundFile::Read(file);
    auto stream = compound.ReadStream(u"Workbook");
    if (!stream) stream = compound.ReadStream(u"Book");
    if (!stream) {
      std::fprintf(stderr, "xlsdump: %s has no Workbook stream\n", name);
      return 1;
    }
    Dump(*stream, args.size() == 2 ? std::strtoul(args[1].c_str(), nullptr, 10) : 16);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "xlsdump: %s: %s\n", name, error.what());
    return 1;
  }
  return 0;
}
