#pragma once

#include <cstdint>
#include <string>

namespace xls::biff {

// The error values of a spreadsheet, by the codes BIFF8 stores them with (BErr).
enum class ErrorCode : std::uint8_t {
  kNull = 0x00,
  kDivisionByZero = 0x07,
  kValue = 0x0F,
  kReference = 0x17,
  kName = 0x1D,
  kNumber = 0x24,
  kNotAvailable = 0x2A,
};

// A cell's value as stored: what a constant cell holds, or a formula's cached result.
struct CellValue {
  enum class Kind { kEmpty, kNumber, kString, kBoolean, kError };
  Kind kind = Kind::kEmpty;
  double number = 0;
  std::u16string text;
  bool boolean = false;
  std::uint8_t error = 0;  // as stored, which need not be one of the ErrorCodes

  static CellValue Number(double value) { return {Kind::kNumber, value, {}, false, 0}; }
  static CellValue String(std::u16string value) {
    return {Kind::kString, 0, std::move(value), false, 0};
  }
  static CellValue Boolean(bool value) { return {Kind::kBoolean, 0, {}, value, 0}; }
  static CellValue Error(std::uint8_t code) { return {Kind::kError, 0, {}, false, code}; }
  static CellValue Error(ErrorCode code) { return Error(static_cast<std::uint8_t>(code)); }
};

// The value as a General cell shows it: numbers by FormatGeneral, strings as they are,
// TRUE/FALSE, "#N/A" and its kin; the empty text for an empty cell.
std::u16string DisplayText(const CellValue& value);

}  // namespace xls::biff
