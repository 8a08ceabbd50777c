// Writes the window's monitor icon, drawn by the program's own code, as the Windows icon file
// that verdalon.exe carries in its resources: make_icon src/ui/verdalon.ico
// Run it (offscreen is enough) after changing the drawing and commit the file it writes.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QtEndian>
#include <cstdio>
#include <vector>

#include "ui/button_pictures.h"

namespace {

void Put16(QByteArray& out, int value) {
  const auto v = qToLittleEndian(static_cast<quint16>(value));
  out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void Put32(QByteArray& out, qint64 value) {
  const auto v = qToLittleEndian(static_cast<quint32>(value));
  out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

// One icon image in the classic form every Windows version and resource compiler reads: a
// 32-bit BGRA bitmap, bottom row first, with its height doubled for the (empty) AND mask that
// follows; the alpha channel does the masking.
QByteArray Bitmap(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  const int size = image.width();
  const int mask_row_bytes = ((size + 31) / 32) * 4;
  QByteArray out;
  Put32(out, 40);        // header size
  Put32(out, size);      // width
  Put32(out, size * 2);  // height of colour and mask together
  Put16(out, 1);         // planes
  Put16(out, 32);        // bits per pixel
  Put32(out, 0);         // no compression
  Put32(out, static_cast<qint64>(size) * size * 4 + static_cast<qint64>(mask_row_bytes) * size);
  for (int i = 0; i < 4; ++i) Put32(out, 0);  // resolution and palette: unused
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) Put32(out, image.pixel(x, y));  // ARGB32 is BGRA in memory
  }
  out.append(QByteArray(mask_row_bytes * size, '\0'));
  return out;
}

// The large image as Windows Vista and later read it: a PNG file as it stands. A bitmap of
// that size would take 256 KiB; old readers never look at it.
QByteArray Png(const QImage& image) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
  return out;
}

// Images this large and larger are stored as PNG.
constexpr int kPngFrom = 256;

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  const QIcon icon = ui::MonitorIcon();
  const QList<QSize> sizes = icon.availableSizes();
  std::vector<QByteArray> images;
  for (const QSize& size : sizes) {
    const QImage image = icon.pixmap(size).toImage();
    images.push_back(size.width() >= kPngFrom ? Png(image) : Bitmap(image));
  }

  QByteArray file;
  Put16(file, 0);  // reserved
  Put16(file, 1);  // an icon, not a cursor
  Put16(file, static_cast<int>(images.size()));
  qint64 offset = 6 + 16 * static_cast<qint64>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int side = sizes[static_cast<qsizetype>(i)].width();
    // 256 is written as 0, the directory's byte holding up to 255.
    file.append(static_cast<char>(side % 256));
    file.append(static_cast<char>(side % 256));
    file.append('\0');  // no palette
    file.append('\0');  // reserved
    Put16(file, 1);     // planes
    Put16(file, 32);    // bits per pixel
    Put32(file, images[i].size());
    Put32(file, offset);
    offset += images[i].size();
  }
  for (const QByteArray& image : images) file.append(image);

  QFile out(QString::fromLocal8Bit(argv[1]));
  if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size()) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
