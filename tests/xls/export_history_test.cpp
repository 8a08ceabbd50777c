// Many exports into the sample template: no earlier export's text survives in the file's
// bytes, the file does not grow, and the sheet nobody writes keeps its records. Checked
// with xlrd (strict about the string table) and LibreOffice.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "biff_streams.h"
#include "compound_files.h"
#include "spreadsheet_programs.h"
#include "xls/cfb/compound_file.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;

// The buyer of export n: same length for every n, Chinese, with a tag in ASCII.
std::u16string Buyer(int n) {
  char tag[8];
  std::snprintf(tag, sizeof tag, "%04d", n);
  return u"客户甲" + base::FromUtf8(tag) + u"号";
}

bool Contains(const Bytes& haystack, const Bytes& needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
         haystack.end();
}

Bytes Utf16Le(std::u16string_view text) {
  Bytes bytes;
  for (const char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

// The records of the sheet'th sheet (0 is 资料 in the sample template).
std::vector<test_support::Record> SheetRecords(const fs::path& file, std::size_t sheet) {
  const auto container = xls::cfb::CompoundFile::Read(test_support::LoadFile(file));
  return test_support::ReadStream(*container.ReadStream(u"Workbook")).sheets.at(sheet);
}

void Export(const fs::path& file, const std::u16string& buyer, const std::u16string& scaler) {
  auto document = xls::XlsDocument::Open(file);
  const std::size_t tally = document->WorksheetIndex(u"码单");
  document->SetCell(tally, 3, 2, buyer);
  document->SetCell(tally, 5, 1, u"4");
  document->SetCell(tally, 18, 2, scaler);
  document->Save();
}

TEST(ExportHistory, EarlierTextsLeaveTheFileAndItStopsGrowing) {
  test_support::TempDir temp;
  const fs::path file = temp.Path() / u"锯材账单.xls";
  fs::copy_file(fs::path(VERDALON_TEMPLATE), file);
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  const std::vector<test_support::Record> reference_before = SheetRecords(file, 0);

  std::vector<std::uintmax_t> sizes;
  for (int n = 1; n <= 30; ++n) {
    Export(file, Buyer(n), n % 2 ? u"张检尺" : u"李检尺");
    sizes.push_back(fs::file_size(file));
    const Bytes bytes = test_support::LoadFile(file);
    ASSERT_TRUE(Contains(bytes, Utf16Le(Buyer(n)))) << n;
    for (int earlier = 1; earlier < n; ++earlier) {
      ASSERT_FALSE(Contains(bytes, Utf16Le(Buyer(earlier)))) << "export " << earlier << " in " << n;
    }
    // The scaler of the export before stays only if this one wrote the same name.
    ASSERT_EQ(Contains(bytes, Utf16Le(u"张检尺")), n % 2 == 1) << n;
  }
  EXPECT_EQ(sizes[2], sizes.back()) << "the file keeps growing";

  // The buyers' sheet was never written: every record as it was, apart from which entry
  // of the string table a text cell names.
  const std::vector<test_support::Record> reference_after = SheetRecords(file, 0);
  ASSERT_EQ(reference_after.size(), reference_before.size());
  for (std::size_t i = 0; i < reference_before.size(); ++i) {
    test_support::Record before = reference_before[i];
    test_support::Record after = reference_after[i];
    if (before.type == 0x00FD && after.type == 0x00FD) {
      std::fill(before.body.begin() + 6, before.body.end(), 0);
      std::fill(after.body.begin() + 6, after.body.end(), 0);
    }
    EXPECT_EQ(after, before) << "record " << i;
  }
  auto document = xls::XlsDocument::Open(file);
  const std::size_t reference = document->WorksheetIndex(u"资料");
  EXPECT_EQ(document->Cell(reference, 3, 2), u"福建永安林海木业有限公司");
  EXPECT_EQ(document->Cell(reference, 3, 3), u"三明青山锯材厂");
}

// A buyer outside the Basic Multilingual Plane, written where the string table must go on
// into a CONTINUE record: xlrd refuses a file whose pair is cut, gnumeric drops the cell.
TEST(ExportHistory, RareCharactersAcrossStringRecordsReadBackInStrictReaders) {
  test_support::TempDir temp;
  const fs::path file = temp.Path() / u"锯材账单.xls";
  fs::copy_file(fs::path(VERDALON_TEMPLATE), file);
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  std::u16string long_name;
  for (int i = 0; i < 2100; ++i) long_name += u"\U00020BB7";  // 𠮷, 8400 bytes
  const std::u16string lone{u'王', static_cast<char16_t>(0xD83D), u'五'};
  {
    auto document = xls::XlsDocument::Open(file);
    const std::size_t tally = document->WorksheetIndex(u"码单");
    for (int row = 5; row <= 17; ++row) {
      // Odd lengths before the long name, so that the record boundary could fall anywhere.
      document->SetCell(tally, row, 2, std::u16string(static_cast<std::size_t>(row * 7), u'码'));
    }
    document->SetCell(tally, 3, 2, long_name);
    document->SetCell(tally, 18, 2, lone);
    document->Save();
  }
  EXPECT_EQ(xls::XlsDocument::Open(file)->Cell(1, 18, 2), u"王\uFFFD五");
  if (!test_support::Run("/usr/bin/python3 -c 'import xlrd' 2>/dev/null")) {
    GTEST_SKIP() << "python3-xlrd is missing";
  }
  const std::string check =
      "/usr/bin/python3 -c \"import xlrd, sys; s = xlrd.open_workbook(sys.argv[1])"
      ".sheet_by_name(u'码单'); v = s.cell_value(2, 1); "
      "sys.exit(0 if v == u'\\U00020BB7' * 2100 and s.cell_value(17, 1) == u'王\\ufffd五' "
      "else 1)\" '" +
      file.string() + "'";
  EXPECT_TRUE(test_support::Run(check)) << "xlrd does not read the names back";
  if (test_support::MissingProgram("ssconvert").empty()) {
    const std::vector<std::string> sheets = test_support::GnumericCsv(file, temp.Path());
    ASSERT_GE(sheets.size(), 2u);
    EXPECT_NE(sheets[1].find(base::ToUtf8(long_name)), std::string::npos);
  }
}

}  // namespace
