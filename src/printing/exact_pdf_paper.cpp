#include "printing/exact_pdf_paper.h"

#include <QByteArrayView>
#include <QRegularExpression>
#include <cmath>
#include <vector>

namespace printing {

namespace {

struct Edit {
  qsizetype position = 0;  // where the replaced text starts in the original
  qsizetype length = 0;
  QByteArray text;
};

QByteArray Number(double value) {
  QByteArray text = QByteArray::number(value, 'f', 3);
  while (text.endsWith('0')) text.chop(1);
  if (text.endsWith('.')) text.chop(1);
  return text;
}

// How far an offset in the original moves once the edits before it are made.
qsizetype Shift(const std::vector<Edit>& edits, qsizetype offset) {
  qsizetype shift = 0;
  for (const Edit& edit : edits) {
    if (edit.position < offset) shift += edit.text.size() - edit.length;
  }
  return shift;
}

// The edits that give the boxes the paper's exact size; none for boxes of other paper.
std::vector<Edit> PaperBoxEdits(const QByteArray& pdf, QSizeF paper_points) {
  static const QRegularExpression kBox(QStringLiteral(
      R"(/(MediaBox|CropBox|BleedBox|TrimBox|ArtBox) ?\[0 0 (\d+)(?:\.0+)? (\d+)(?:\.0+)?\])"));
  const QString latin = QString::fromLatin1(pdf);
  std::vector<Edit> edits;
  for (auto match = kBox.globalMatch(latin); match.hasNext();) {
    const QRegularExpressionMatch box = match.next();
    const double width = box.captured(2).toDouble();
    const double height = box.captured(3).toDouble();
    // Only Qt's rounding of this very paper is undone.
    const double wider = paper_points.width() - width;
    const double taller = paper_points.height() - height;
    if (std::abs(wider) > 1 || std::abs(taller) > 1) continue;
    if (std::abs(wider) < 0.0005 && std::abs(taller) < 0.0005) continue;  // exact already
    const QByteArray text = "/" + box.captured(1).toLatin1() + " [0 " + Number(-taller) + " " +
                            Number(paper_points.width()) + " " + box.captured(3).toLatin1() + "]";
    edits.push_back({box.capturedStart(), box.capturedLength(), text});
  }
  return edits;
}

// Adds the edits that move the cross-reference table's offsets, and the table's own after
// "startxref", past the edits before them. Only one classic table is understood, as Qt
// writes it: "xref", "0 N", N entries of 20 bytes. False for any other.
bool AddCrossReferenceEdits(const QByteArray& pdf, std::vector<Edit>& edits) {
  const qsizetype start_keyword = pdf.lastIndexOf("startxref");
  if (start_keyword < 0) return false;
  qsizetype cursor = start_keyword + 9;
  while (cursor < pdf.size() && (pdf[cursor] == '\r' || pdf[cursor] == '\n')) ++cursor;
  qsizetype digits_end = cursor;
  while (digits_end < pdf.size() && pdf[digits_end] >= '0' && pdf[digits_end] <= '9') ++digits_end;
  bool ok = false;
  const qsizetype table = pdf.mid(cursor, digits_end - cursor).toLongLong(&ok);
  if (!ok || !QByteArrayView(pdf).sliced(table).startsWith("xref")) return false;
  const qsizetype heading = pdf.indexOf('\n', table) + 1;
  const qsizetype heading_end = pdf.indexOf('\n', heading);
  const QList<QByteArray> span = pdf.mid(heading, heading_end - heading).trimmed().split(' ');
  if (span.size() != 2) return false;
  const qsizetype count = span[1].toLongLong(&ok);
  if (!ok || heading_end + 1 + count * 20 > start_keyword) return false;
  for (qsizetype entry = 0; entry < count; ++entry) {
    const qsizetype at = heading_end + 1 + entry * 20;
    if (pdf[at + 17] != 'n') continue;  // a free entry points nowhere
    const qsizetype offset = pdf.mid(at, 10).toLongLong(&ok);
    if (!ok) return false;
    edits.push_back(
        {at, 10, QByteArray::number(offset + Shift(edits, offset)).rightJustified(10, '0')});
  }
  edits.push_back({cursor, digits_end - cursor, QByteArray::number(table + Shift(edits, table))});
  return true;
}

// The file with the edits made, which lie in the order of their positions.
QByteArray Edited(const QByteArray& pdf, const std::vector<Edit>& edits) {
  QByteArray out;
  out.reserve(pdf.size() + 64 * static_cast<qsizetype>(edits.size()));
  qsizetype copied = 0;
  for (const Edit& edit : edits) {
    out.append(QByteArrayView(pdf).sliced(copied, edit.position - copied));
    out.append(edit.text);
    copied = edit.position + edit.length;
  }
  out.append(QByteArrayView(pdf).sliced(copied));
  return out;
}

}  // namespace

QByteArray WithExactPaper(const QByteArray& pdf, QSizeF paper_points) {
  std::vector<Edit> edits = PaperBoxEdits(pdf, paper_points);
  if (edits.empty() || !AddCrossReferenceEdits(pdf, edits)) return pdf;
  return Edited(pdf, edits);
}

}  // namespace printing
