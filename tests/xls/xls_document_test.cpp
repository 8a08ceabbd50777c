#include "xls/xls_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "biff_streams.h"
#include "compound_files.h"
#include "xls/failure.h"

namespace xls {
namespace {

namespace fs = std::filesystem;
using test_support::Bytes;

Bytes SampleWorkbook() {
  test_support::SheetSpec sheet{u"码单", {test_support::Dimensions(0, 1, 0, 1)}};
  return test_support::BuildCompoundFile(
      3, {{u"Workbook", test_support::BuildStream({test_support::Sst({})}, {sheet})}});
}

// A zip archive whose first member is stored uncompressed under the given name and text.
Bytes ZipStartingWith(const std::string& name, const std::string& text) {
  std::string zip("PK\x03\x04", 4);
  zip.append(22, '\0');
  zip.push_back(static_cast<char>(name.size()));  // name length, then no extra field
  zip.append(3, '\0');
  zip += name + text;
  return Bytes(zip.begin(), zip.end());
}

class XlsDocumentTest : public ::testing::Test {
 protected:
  fs::path Write(const std::string& name, const Bytes& bytes) {
    const fs::path path = temp_.Path() / name;
    test_support::SaveFile(path, bytes);
    return path;
  }

  static Failure FailureOf(const std::function<void()>& operation) {
    try {
      operation();
    } catch (const Failure& failure) {
      return failure;
    }
    ADD_FAILURE() << "no failure";
    return Failure(FailureKind::kInternal, {});
  }

  static FailureKind KindOfOpening(const fs::path& path) {
    const Failure failure = FailureOf([&] { XlsDocument::Open(path); });
    EXPECT_EQ(failure.Path(), path);
    EXPECT_FALSE(failure.WhileSaving());
    return failure.Kind();
  }

  test_support::TempDir temp_;
};

TEST_F(XlsDocumentTest, OpeningTellsWhatKindOfFileItFound) {
  EXPECT_EQ(KindOfOpening(temp_.Path() / "missing.xls"), FailureKind::kNotFound);
  EXPECT_EQ(FailureOf([&] { XlsDocument::Open(temp_.Path() / "missing.xls"); }).SystemError(),
            std::errc::no_such_file_or_directory);
  EXPECT_EQ(KindOfOpening(temp_.Path()), FailureKind::kNotARegularFile);
  EXPECT_EQ(KindOfOpening(Write("empty.xls", {})), FailureKind::kNotAnOfficeFile);
  EXPECT_EQ(KindOfOpening(Write("page.xls", Bytes{'<', 'h', 't', 'm', 'l', '>'})),
            FailureKind::kNotAnOfficeFile);
  EXPECT_EQ(KindOfOpening(Write("book.xls", ZipStartingWith("[Content_Types].xml", "<?xml"))),
            FailureKind::kXlsxFormat);
  EXPECT_EQ(KindOfOpening(Write(
                "sheet.xls",
                ZipStartingWith("mimetype", "application/vnd.oasis.opendocument.spreadsheet"))),
            FailureKind::kOdsFormat);
  Bytes truncated = SampleWorkbook();
  truncated.resize(700);
  EXPECT_EQ(KindOfOpening(Write("truncated.xls", truncated)), FailureKind::kDamaged);
  EXPECT_EQ(KindOfOpening(Write(
                "letter.xls", test_support::BuildCompoundFile(3, {{u"WordDocument", {1, 2, 3}}}))),
            FailureKind::kNoWorkbookStream);
}

TEST_F(XlsDocumentTest, SheetAndCellFailuresNameTheSheetAndCell) {
  const auto document = XlsDocument::Open(Write("book.xls", SampleWorkbook()));
  const Failure no_sheet = FailureOf([&] { document->WorksheetIndex(u"资料"); });
  EXPECT_EQ(no_sheet.Kind(), FailureKind::kNoSuchSheet);
  EXPECT_EQ(no_sheet.Sheet(), u"资料");

  const std::size_t sheet = document->WorksheetIndex(u"码单");
  const Failure outside = FailureOf([&] { document->SetCell(sheet, 65537, 2, u"x"); });
  EXPECT_EQ(outside.Kind(), FailureKind::kCellOutOfRange);
  EXPECT_EQ(outside.Sheet(), u"码单");
  ASSERT_TRUE(outside.Cell().has_value());
  EXPECT_EQ(outside.Cell()->row, 65537);
  EXPECT_EQ(outside.Cell()->column, 2);
  EXPECT_EQ(FailureOf([&] { document->Cell(sheet, 1, 0); }).Kind(), FailureKind::kCellOutOfRange);

  const Failure too_long =
      FailureOf([&] { document->SetCell(sheet, 3, 2, std::u16string(32768, u'码')); });
  EXPECT_EQ(too_long.Kind(), FailureKind::kTextTooLong);
  EXPECT_EQ(too_long.TextLength(), 32768u);
  EXPECT_NO_THROW(document->SetCell(sheet, 3, 2, std::u16string(32767, u'码')));
}

TEST_F(XlsDocumentTest, AFailedSaveSaysSoAndLeavesTheFile) {
  const fs::path path = Write("book.xls", SampleWorkbook());
  const auto document = XlsDocument::Open(path);
  document->SetCell(document->WorksheetIndex(u"码单"), 1, 1, u"新");
  fs::permissions(path, fs::perms::owner_read);
  const Failure failure = FailureOf([&] { document->Save(); });
  EXPECT_EQ(failure.Kind(), FailureKind::kPermissionDenied);
  EXPECT_TRUE(failure.WhileSaving());
  EXPECT_EQ(failure.Path(), path);
  EXPECT_EQ(test_support::LoadFile(path), SampleWorkbook());
}

}  // namespace
}  // namespace xls
