#include "printing/print_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

namespace printing {

namespace {

// Measured at a large size, so that hinting and rounding to pixels do not matter.
constexpr int kMeasuringPixels = 1000;

bool IsSong(const QString& name) {
  return name.compare(QStringLiteral("SimSun"), Qt::CaseInsensitive) == 0 ||
         name == QStringLiteral("宋体") ||
         name.compare(QStringLiteral("NSimSun"), Qt::CaseInsensitive) == 0 ||
         name == QStringLiteral("新宋体");
}

bool IsHei(const QString& name) {
  return name.compare(QStringLiteral("SimHei"), Qt::CaseInsensitive) == 0 ||
         name == QStringLiteral("黑体") ||
         name.compare(QStringLiteral("Microsoft YaHei"), Qt::CaseInsensitive) == 0 ||
         name == QStringLiteral("微软雅黑");
}

// Sans-serif Chinese faces of Linux desktops, standing in for 黑体 where Windows' is missing,
// so that a heading set in 黑体 does not print in the song face of the text below it.
QStringList HeiFaces() {
  return {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
          QStringLiteral("Source Han Sans SC"), QStringLiteral("Droid Sans Fallback")};
}

// Faces drawn to the same widths as Windows' Latin faces, for systems without them: the
// widths decide whether a number fits its cell, and where right-aligned text starts.
QStringList SameWidthFaces(const QString& name) {
  if (name.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0) {
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
            QStringLiteral("Nimbus Sans")};
  }
  if (name.compare(QStringLiteral("Times New Roman"), Qt::CaseInsensitive) == 0) {
    return {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
            QStringLiteral("Nimbus Roman")};
  }
  if (name.compare(QStringLiteral("Courier New"), Qt::CaseInsensitive) == 0) {
    return {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
            QStringLiteral("Nimbus Mono PS")};
  }
  return {};
}

}  // namespace

QFont CellFont(const xls::layout::Font& font, double point_size) {
  const QString name = QString::fromStdU16String(font.name);
  QFont qfont;
  if (IsSong(name)) {
    // The window's stand-ins for 宋体, in its order.
    qfont.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                       QStringLiteral("AR PL UMing CN"), QStringLiteral("NSimSun")});
  } else {
    QStringList families{name};
    families << (IsHei(name) ? HeiFaces() : SameWidthFaces(name));
    // A face the system lacks is drawn in the one the system resolves its name to, the face
    // its column widths are measured in and other spreadsheet programs print with.
    if (!QFontDatabase::hasFamily(name)) families << QFontInfo(QFont(name)).family();
    // Chinese text in a Latin face falls back to the song face the window uses.
    families << QStringLiteral("AR PL UMing CN");
    qfont.setFamilies(families);
  }
  qfont.setPointSizeF(point_size > 0 ? point_size : 1);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setStrikeOut(font.strikeout);
  qfont.setUnderline(font.underline != xls::layout::Underline::kNone);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  qfont.setKerning(false);
  return qfont;
}

double DigitWidthPoints(const xls::layout::Font& default_font) {
  QFont qfont(QString::fromStdU16String(default_font.name));
  qfont.setPixelSize(kMeasuringPixels);
  qfont.setBold(default_font.bold);
  qfont.setItalic(default_font.italic);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  const QFontMetricsF metrics(qfont);
  const double advance = metrics.horizontalAdvance(QLatin1Char('0'));
  return advance / kMeasuringPixels * default_font.points;
}

}  // namespace printing
