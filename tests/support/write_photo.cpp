// Not a test: writes a photo of one colour for the terminal's tests, which have no image library of
// their own. Usage: write_photo FILE WIDTH HEIGHT RRGGBB (the format from FILE's suffix: .png, .jpg).
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: write_photo FILE WIDTH HEIGHT RRGGBB\n", stderr);
    return 2;
  }
  QImage image(QString::fromLocal8Bit(argv[2]).toInt(), QString::fromLocal8Bit(argv[3]).toInt(), QImage::Format_RGB888);
  image.fill(QColor::fromRgb(QString::fromLatin1(argv[4]).toUInt(nullptr, 16)));
  return !image.isNull() && image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
