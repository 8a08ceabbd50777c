#include "ui/message_line_breaks.h"

#include <QFontMetrics>
#include <QStringList>
#include <QStringView>

namespace ui {
namespace {

// Marks that close what comes before them: a line may end after them, never start with them.
constexpr QStringView kClosing = u"，。；：、！？）》”’,.;:!?)";
// Marks that open what follows: a line may start with them, never end with them.
constexpr QStringView kOpening = u"（《“‘(";

bool IsSeparator(QChar c) {
  return c == QLatin1Char(' ') || c == QChar(0x3000) || c == QLatin1Char('/') ||
         c == QLatin1Char('\\');
}

// Whether a line may end between text[i - 1] and text[i]. The ASCII stops and commas do not
// open a break by themselves: in a name (锯材账单.xls, 1,850) they are not the end of a phrase.
bool MayBreakBefore(const QString& text, qsizetype i) {
  const QChar before = text.at(i - 1);
  const QChar after = text.at(i);
  if (kClosing.contains(after) || kOpening.contains(before)) return false;
  if (IsSeparator(before) || kOpening.contains(after)) return true;
  return before.unicode() >= 0x80 && kClosing.contains(before);
}

QString BreakParagraph(const QString& paragraph, const QFontMetrics& metrics, int width) {
  QString result;
  QString line;
  qsizetype piece_start = 0;
  const auto add_piece = [&](qsizetype end) {
    const QString piece = paragraph.mid(piece_start, end - piece_start);
    piece_start = end;
    if (!line.isEmpty() && metrics.horizontalAdvance((line + piece).trimmed()) > width) {
      result += line + QChar(QChar::LineSeparator);
      line.clear();
    }
    line += piece;
  };
  for (qsizetype i = 1; i < paragraph.size(); ++i) {
    if (MayBreakBefore(paragraph, i)) add_piece(i);
  }
  add_piece(paragraph.size());
  return result + line;
}

}  // namespace

QString BreakAtSeparators(const QString& message, const QFontMetrics& metrics, int width) {
  QStringList paragraphs = message.split(QLatin1Char('\n'));
  for (QString& paragraph : paragraphs) paragraph = BreakParagraph(paragraph, metrics, width);
  return paragraphs.join(QLatin1Char('\n'));
}

}  // namespace ui
