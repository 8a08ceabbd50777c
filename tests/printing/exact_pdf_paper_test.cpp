// Qt's whole-point PDF boxes made exact, with the drawing and the file's cross-references
// left sound.

#include "printing/exact_pdf_paper.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

namespace {

using printing::WithExactPaper;

// A PDF as Qt writes it: two pages of the paper, a mark near the top left of each.
QByteArray QtPdf(const QPageSize& paper) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    painter.drawText(600, 600, QStringLiteral("top"));
    writer.newPage();
    painter.drawText(600, 600, QStringLiteral("top"));
  }
  return buffer.data();
}

// Every object the cross-reference table lists starts where it says.
void ExpectSoundReferences(const QByteArray& pdf) {
  const qsizetype start = pdf.lastIndexOf("startxref");
  const qsizetype table = pdf.mid(start + 9).trimmed().split('\n').front().toLongLong();
  ASSERT_TRUE(pdf.mid(table).startsWith("xref"));
  const QList<QByteArray> lines = pdf.mid(table).split('\n');
  const int count = lines[1].split(' ')[1].toInt();
  ASSERT_GT(count, 3);
  for (int entry = 1; entry < count; ++entry) {
    const QByteArray& line = lines[2 + entry];
    if (!line.contains(" n")) continue;
    const qsizetype offset = line.left(10).toLongLong();
    EXPECT_TRUE(pdf.mid(offset).startsWith(QByteArray::number(entry) + " 0 obj")) << entry;
  }
}

TEST(ExactPdfPaper, BoxesTakeTheExactPaperAndReferencesFollow) {
  struct Case {
    QPageSize::PageSizeId id;
    const char* box;  // the exact box, its top where Qt's whole-point top was
  };
  for (const Case& c : {Case{QPageSize::A4, "/MediaBox [0 0.11 595.276 842]"},
                        Case{QPageSize::A5, "/MediaBox [0 -0.276 419.528 595]"},
                        Case{QPageSize::JisB5, "/MediaBox [0 0.496 515.906 729]"}}) {
    SCOPED_TRACE(c.box);
    const QPageSize paper(c.id);
    const QByteArray before = QtPdf(paper);
    const QSizeF mm = paper.size(QPageSize::Millimeter);  // Qt's points are whole
    const QByteArray after =
        WithExactPaper(before, QSizeF(mm.width() * 72 / 25.4, mm.height() * 72 / 25.4));
    EXPECT_EQ(after.count(c.box), 2);
    // Only the boxes changed before the cross-references: the drawing is the same, byte for
    // byte.
    static const QRegularExpression kBox(QStringLiteral(R"(/MediaBox \[[^\]]*\])"));
    auto objects = [](const QByteArray& pdf) {
      return QString::fromLatin1(pdf.left(pdf.lastIndexOf("\nxref"))).remove(kBox);
    };
    EXPECT_EQ(objects(after), objects(before));
    ExpectSoundReferences(after);
  }
}

TEST(ExactPdfPaper, LeavesOtherFilesAsTheyWere) {
  const QByteArray letter = QtPdf(QPageSize(QPageSize::Letter));  // whole points already
  EXPECT_EQ(WithExactPaper(letter, QSizeF(612, 792)), letter);
  // A box of another paper, and text that is no PDF Qt wrote.
  const QByteArray a4 = QtPdf(QPageSize(QPageSize::A4));
  EXPECT_EQ(WithExactPaper(a4, QSizeF(419.53, 595.28)), a4);
  const QByteArray stray = "/MediaBox [0 0 595 842] and no cross-references";
  EXPECT_EQ(WithExactPaper(stray, QSizeF(595.28, 841.89)), stray);
}

}  // namespace
