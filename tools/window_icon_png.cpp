// Writes the window's icon, as the program draws it, to a PNG of the given size, for the
// desktop entry of the Linux package: window_icon_png OUTPUT.png [SIZE]
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "ui/button_pictures.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: window_icon_png OUTPUT.png [SIZE]\n");
    return 2;
  }
  const int size = argc == 3 ? QString::fromLatin1(argv[2]).toInt() : 48;
  if (size <= 0 || !ui::MonitorIcon().pixmap(size).save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
