#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ui {

inline constexpr int kPictureWidth = 81;
inline constexpr int kPictureHeight = 33;

// How a picture's words are set: as one word, or spread so the first character starts at the
// left edge and the last ends at the right edge of the face.
enum class WordSpacing { Together, Spread };

// A picture-button image: white bold words on a rounded dark navy face whose upper half is
// lighter and glossy. The pressed variant is the same in a brighter blue. The picture is 81 × 33
// in the window's pixels and drawn at the screen's pixel ratio, so on a screen scaled to 125 %
// or 150 % it stays as sharp as at 100 % instead of being enlarged.
QPixmap ButtonPicture(const QString& words, WordSpacing spacing, bool pressed,
                      qreal device_pixel_ratio = 1.0);

// The window icon: a computer monitor with a grey bezel, a blue screen and a small green
// power light, at 16, 32 and 48 pixels, and at 256 for the large views of Explorer and the
// taskbar of a scaled screen.
QIcon MonitorIcon();

}  // namespace ui
