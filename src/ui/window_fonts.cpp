#include "ui/window_fonts.h"

#include <QStringList>

namespace ui {

QFont SongFont(int pixel_size, bool bold) {
  QFont font;
  // Qt takes the first family it finds and falls back along the list for missing glyphs.
  font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                    QStringLiteral("AR PL UMing CN"), QStringLiteral("NSimSun")});
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace ui
