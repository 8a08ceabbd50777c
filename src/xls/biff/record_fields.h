#pragma once

#include <cstddef>
#include <cstdint>

// Where the fields of the sheet records the engine reads or edits lie in a record's body,
// in bytes from the start of the body, as the BIFF8 format lays them out.
namespace xls::biff {

// Every cell record (NUMBER, RK, LABELSST, LABEL, RSTRING, BLANK, BOOLERR, FORMULA) starts
// with its row, column and format.
namespace cell_record {
inline constexpr std::size_t kRow = 0;
inline constexpr std::size_t kColumn = 2;
inline constexpr std::size_t kXf = 4;
inline constexpr std::size_t kValue = 6;  // what follows depends on the record
}  // namespace cell_record

// BOOLERR: the value byte at kValue, then whether it is an error code.
namespace bool_err_record {
inline constexpr std::size_t kIsError = 7;
}  // namespace bool_err_record

// FORMULA: an eight-byte result, the flags, then the parsed expression.
namespace formula_record {
inline constexpr std::size_t kResult = 6;
// When these two bytes are 0xFFFF the result is not a number: its kind is the byte at
// kResult (0 string, 1 boolean, 2 error) and a boolean or error value lies at kResultValue.
inline constexpr std::size_t kResultMarker = 12;
inline constexpr std::uint16_t kNotANumber = 0xFFFF;
inline constexpr std::size_t kResultValue = 8;
inline constexpr std::uint8_t kStringResult = 0;
inline constexpr std::uint8_t kBooleanResult = 1;
inline constexpr std::uint8_t kErrorResult = 2;
inline constexpr std::size_t kFlags = 14;
inline constexpr std::uint8_t kAlwaysCalculate = 0x01;
inline constexpr std::uint8_t kShared = 0x08;   // part of a shared formula
inline constexpr std::size_t kExpression = 20;  // cce, then rgce and rgcb
}  // namespace formula_record

// SHRFMLA, ARRAY and TABLE: the range [first row, last row] x [first column, last column]
// (one byte each), then their own fields (for SHRFMLA and ARRAY the shared expression).
namespace formula_range_record {
inline constexpr std::size_t kFirstRow = 0;
inline constexpr std::size_t kLastRow = 2;
inline constexpr std::size_t kFirstColumn = 4;
inline constexpr std::size_t kLastColumn = 5;
inline constexpr std::size_t kSharedExpression = 8;  // SHRFMLA: cce, then rgce and rgcb
inline constexpr std::size_t kArrayExpression = 12;  // ARRAY: cce, then rgce and rgcb
}  // namespace formula_range_record

// MULRK and MULBLANK: row, first column, then one entry per cell and the last column.
namespace multi_cell_record {
inline constexpr std::size_t kFirstEntry = 4;
inline constexpr std::size_t kRkEntrySize = 6;     // format, then the RK number
inline constexpr std::size_t kRkInEntry = 2;       // where an entry's RK number lies
inline constexpr std::size_t kBlankEntrySize = 2;  // format only
inline constexpr std::size_t kFixedSize = 6;       // row, first column, last column
}  // namespace multi_cell_record

// ROW: the row, the columns it spans [first, end), its height, flags and default format.
namespace row_record {
inline constexpr std::size_t kRow = 0;
inline constexpr std::size_t kFirstColumn = 2;
inline constexpr std::size_t kEndColumn = 4;
inline constexpr std::size_t kHeight = 6;
inline constexpr std::size_t kFlags = 12;
inline constexpr std::size_t kXf = 14;
inline constexpr std::size_t kBodySize = 16;
inline constexpr std::uint16_t kGhostDirty = 0x0080;  // the row has a format of its own
inline constexpr std::uint16_t kHidden = 0x0020;
inline constexpr std::uint16_t kHeightMask = 0x7FFF;
inline constexpr std::uint16_t kXfMask = 0x0FFF;
}  // namespace row_record

// DIMENSIONS: the rows [first, end) and columns [first, end) that hold cells.
namespace dimensions_record {
inline constexpr std::size_t kFirstRow = 0;
inline constexpr std::size_t kEndRow = 4;
inline constexpr std::size_t kFirstColumn = 8;
inline constexpr std::size_t kEndColumn = 10;
inline constexpr std::size_t kMinimumSize = 12;
}  // namespace dimensions_record

// INDEX: the rows [first, end) with cells, the stream position of DEFCOLWIDTH, then the
// stream position of every DBCELL.
namespace index_record {
inline constexpr std::size_t kFirstRow = 4;
inline constexpr std::size_t kEndRow = 8;
inline constexpr std::size_t kColumnWidthPosition = 12;
inline constexpr std::size_t kFirstDbCell = 16;
inline constexpr std::size_t kFixedSize = 16;
inline constexpr std::size_t kPositionSize = 4;
}  // namespace index_record

// DBCELL: the distance back to the block's first ROW, then per row the distance from one
// row's first cell record to the next's (the first from the end of the first ROW).
namespace db_cell_record {
inline constexpr std::size_t kFirstRowDistance = 0;
}  // namespace db_cell_record

// COLINFO: the columns [first, last], their width, default format and options.
namespace col_info_record {
inline constexpr std::size_t kFirstColumn = 0;
inline constexpr std::size_t kLastColumn = 2;
inline constexpr std::size_t kWidth = 4;
inline constexpr std::size_t kXf = 6;
inline constexpr std::size_t kOptions = 8;
inline constexpr std::uint16_t kHidden = 0x0001;
inline constexpr std::size_t kMinimumSize = 8;
}  // namespace col_info_record

// STANDARDWIDTH and DEFCOLWIDTH: the columns' default width, in 1/256 of a digit (exact)
// and in whole digits without the padding.
namespace default_width_record {
inline constexpr std::size_t kWidth = 0;
}  // namespace default_width_record

// The records of one field, from the body's start: LEFTMARGIN, RIGHTMARGIN, TOPMARGIN and
// BOTTOMMARGIN (inches, a double), HCENTER, VCENTER, PRINTHEADERS and PRINTGRIDLINES (a
// 16-bit yes or no), HEADER and FOOTER (an XLUnicodeString, or an empty body for none).
namespace single_field_record {
inline constexpr std::size_t kValue = 0;
}  // namespace single_field_record

// MERGECELLS: a count, then the merged ranges, each its rows [first, last] and its columns
// [first, last].
namespace merge_cells_record {
inline constexpr std::size_t kCount = 0;
inline constexpr std::size_t kFirstRange = 2;
inline constexpr std::size_t kRangeSize = 8;
inline constexpr std::size_t kFirstRow = 0;  // inside a range
inline constexpr std::size_t kLastRow = 2;
inline constexpr std::size_t kFirstColumn = 4;
inline constexpr std::size_t kLastColumn = 6;
inline constexpr std::uint16_t kColumnMask = 0x00FF;
}  // namespace merge_cells_record

// DEFAULTROWHEIGHT: flags, then the height of rows that have no ROW record.
namespace default_row_height_record {
inline constexpr std::size_t kFlags = 0;
inline constexpr std::uint16_t kRowsHidden = 0x0002;
inline constexpr std::size_t kHeight = 2;
inline constexpr std::size_t kMinimumSize = 4;
}  // namespace default_row_height_record

// STRING (a formula's text result): an XLUnicodeString, its length, flags, then characters.
namespace string_record {
inline constexpr std::size_t kLength = 0;
inline constexpr std::size_t kFlags = 2;
inline constexpr std::size_t kCharacters = 3;
}  // namespace string_record

// The flags byte of every BIFF8 string (XLUnicodeString, XLUnicodeRichExtendedString), which
// a CONTINUE record repeats where a string's characters go on in it.
namespace string_flags {
inline constexpr std::uint8_t kHighByte = 0x01;  // two bytes a character, else one
inline constexpr std::uint8_t kExtended = 0x04;  // phonetic data follows the characters
inline constexpr std::uint8_t kRich = 0x08;      // formatting runs follow the characters
inline constexpr std::size_t kRunSize = 4;       // one formatting run: character, font
inline constexpr std::size_t kRunFont = 2;       // inside a run
}  // namespace string_flags

// BOF: the BIFF version, then the substream's document type.
namespace bof_record {
inline constexpr std::size_t kVersion = 0;
inline constexpr std::size_t kType = 2;
inline constexpr std::uint16_t kBiff8 = 0x0600;
}  // namespace bof_record

// BOUNDSHEET: where the sheet's BOF lies in the stream, its state and type, then its name
// (a ShortXLUnicodeString).
namespace bound_sheet_record {
inline constexpr std::size_t kPosition = 0;
inline constexpr std::size_t kName = 6;
}  // namespace bound_sheet_record

// DATEMODE: whether serial numbers count from 1904-01-01 rather than 1900-01-00.
namespace date_mode_record {
inline constexpr std::size_t kIs1904 = 0;
}  // namespace date_mode_record

// XF: the font, the number format, the alignment, the text's rotation, its indent and
// shrinking, the borders' styles and colours (two 32-bit words) and the fill's colours.
namespace xf_record {
inline constexpr std::size_t kFont = 0;
inline constexpr std::size_t kFormat = 2;
inline constexpr std::size_t kAlignment = 6;
inline constexpr std::uint8_t kHorizontalMask = 0x07;
inline constexpr std::uint8_t kWrap = 0x08;
inline constexpr int kVerticalShift = 4;
inline constexpr std::uint8_t kVerticalMask = 0x07;  // after the shift
inline constexpr std::size_t kRotation = 7;
inline constexpr std::size_t kIndent = 8;
inline constexpr std::uint8_t kIndentMask = 0x0F;
inline constexpr std::uint8_t kShrinkToFit = 0x10;
inline constexpr std::size_t kBorders = 10;      // the four styles, left and right colours
inline constexpr std::size_t kMoreBorders = 14;  // top and bottom colours, the fill pattern
inline constexpr std::size_t kFillColours = 18;  // pattern colour, then background
inline constexpr std::uint32_t kBorderStyleMask = 0x0F;
inline constexpr std::uint32_t kColourMask = 0x7F;
inline constexpr int kLeftStyleShift = 0;
inline constexpr int kRightStyleShift = 4;
inline constexpr int kTopStyleShift = 8;
inline constexpr int kBottomStyleShift = 12;
inline constexpr int kLeftColourShift = 16;   // in the first word
inline constexpr int kRightColourShift = 23;  // in the first word
inline constexpr int kTopColourShift = 0;     // in the second word
inline constexpr int kBottomColourShift = 7;  // in the second word
inline constexpr int kPatternShift = 26;      // in the second word
inline constexpr std::uint32_t kPatternMask = 0x3F;
inline constexpr std::uint16_t kAutomaticColour = 64;  // a fill colour of none
}  // namespace xf_record

// PALETTE: a count, then the colours from index 8 on, four bytes each: red, green, blue.
namespace palette_record {
inline constexpr std::size_t kCount = 0;
inline constexpr std::size_t kFirstColour = 2;
inline constexpr std::size_t kColourSize = 4;
}  // namespace palette_record

// FORMAT: the number format's index, then its code (an XLUnicodeString).
namespace format_record {
inline constexpr std::size_t kIndex = 0;
inline constexpr std::size_t kCode = 2;
}  // namespace format_record

// RECALCID: the future-record header, then the build of the engine that last computed.
namespace recalc_id_record {
inline constexpr std::size_t kBuild = 4;
inline constexpr std::size_t kBodySize = 8;
}  // namespace recalc_id_record

// CALCMODE: 0 manual, 1 automatic, 0xFFFF automatic except tables.
namespace calc_mode_record {
inline constexpr std::size_t kMode = 0;
inline constexpr std::uint16_t kAutomatic = 1;
}  // namespace calc_mode_record

// SETUP: paper, scale, first page number, fit width and height, options, then (at 16 and 24)
// the header and footer margins in inches.
namespace setup_record {
inline constexpr std::size_t kPaperSize = 0;
inline constexpr std::size_t kScale = 2;
inline constexpr std::size_t kPageStart = 4;
inline constexpr std::size_t kFitWidth = 6;
inline constexpr std::size_t kFitHeight = 8;
inline constexpr std::size_t kOptions = 10;
inline constexpr std::size_t kHeaderMargin = 16;
inline constexpr std::size_t kFooterMargin = 24;
inline constexpr std::size_t kWithMarginsSize = 32;
inline constexpr std::uint16_t kPortrait = 0x0002;
inline constexpr std::uint16_t kNoPrinterSettings = 0x0004;  // paper, scale and orientation unset
inline constexpr std::uint16_t kUsePageStart = 0x0080;
}  // namespace setup_record

// WSBOOL: the sheet's option bits.
namespace ws_bool_record {
inline constexpr std::size_t kOptions = 0;
inline constexpr std::uint16_t kFitToPage = 0x0100;
}  // namespace ws_bool_record

// HORIZONTALPAGEBREAKS, VERTICALPAGEBREAKS: a count, then six bytes a break, the row or
// column first.
namespace page_breaks_record {
inline constexpr std::size_t kCount = 0;
inline constexpr std::size_t kFirstBreak = 2;
inline constexpr std::size_t kBreakSize = 6;
}  // namespace page_breaks_record

// HEADERFOOTER: a future record header (12 bytes), the custom view it belongs to (16 bytes,
// all zero for the sheet itself), then the option bits.
namespace header_footer_record {
inline constexpr std::size_t kView = 12;
inline constexpr std::size_t kViewSize = 16;
inline constexpr std::size_t kFlags = 28;
inline constexpr std::uint16_t kScalesWithSheet = 0x0004;
inline constexpr std::uint16_t kAlignsWithMargins = 0x0008;
}  // namespace header_footer_record

// OBJ: its first subrecord, ftCmo: ft and cb, the object type, its id, then its flags.
namespace obj_record {
inline constexpr std::size_t kObjectType = 4;
inline constexpr std::size_t kFlags = 8;
inline constexpr std::uint16_t kComment = 0x0019;  // the ot of a cell's note
inline constexpr std::uint16_t kPrinted = 0x0010;  // fPrint: off for filter and list arrows
}  // namespace obj_record

// FONT: the height in twips, the options, the colour, the weight, the underline, then the
// name (a ShortXLUnicodeString).
namespace font_record {
inline constexpr std::size_t kHeight = 0;
inline constexpr std::size_t kOptions = 2;
inline constexpr std::uint16_t kItalic = 0x0002;
inline constexpr std::uint16_t kStrikeout = 0x0008;
inline constexpr std::size_t kColour = 4;
inline constexpr std::size_t kWeight = 6;
inline constexpr std::uint16_t kBoldWeight = 700;  // and heavier
inline constexpr std::size_t kUnderline = 10;
inline constexpr std::uint8_t kSingleUnderline = 0x01;
inline constexpr std::uint8_t kDoubleUnderline = 0x02;
inline constexpr std::uint8_t kSingleAccountingUnderline = 0x21;
inline constexpr std::uint8_t kDoubleAccountingUnderline = 0x22;
inline constexpr std::size_t kName = 14;
}  // namespace font_record

// NAME: flags, shortcut key, name length, expression size, scope, then four lengths of menu
// and help texts, the name (flags byte, characters), its expression and the expression's
// extra data.
namespace name_record {
inline constexpr std::size_t kFlags = 0;
inline constexpr std::size_t kNameLength = 3;
inline constexpr std::size_t kExpressionSize = 4;
inline constexpr std::size_t kScope = 8;
inline constexpr std::size_t kName = 14;
inline constexpr std::size_t kMinimumSize = kName + 2;
inline constexpr std::uint16_t kFunction = 0x0002;
inline constexpr std::uint16_t kBuiltIn = 0x0020;
}  // namespace name_record

}  // namespace xls::biff
