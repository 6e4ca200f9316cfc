// Not a test: writes photos for the terminal's tests, which have no image library of their own.
//   write_photo FILE WIDTH HEIGHT RRGGBB   a photo of one colour
//   write_photo FILE resistor BAND,...     a painted resistor with these bands (English names) in
//                                          reading order, left to right; prints the body's line
//                                          as X1,Y1,X2,Y2
// The format follows FILE's suffix (.png, .jpg: JPEG's blocks included).
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdio>

#include "marking/band_words.h"
#include "photo_file/photo_file.h"
#include "support/resistor_render.h"

namespace {

int writeResistor(const char* file, const QString& bands) {
  kalvori::test::ResistorScene scene;
  for (const QString& name : bands.split(',')) {
    const auto band = kalvori::bandFromEnglish(name.toStdString());
    if (!band) return 2;
    scene.bands.push_back(*band);
  }
  const kalvori::BodyLine line = kalvori::test::bodyLineOf(scene);
  if (!kalvori::imageFromPhoto(kalvori::test::renderResistor(scene)).save(QString::fromLocal8Bit(file), nullptr, 90))
    return 1;
  std::printf("%g,%g,%g,%g\n", line.from.x, line.from.y, line.to.x, line.to.y);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && QString::fromLatin1(argv[2]) == QLatin1String("resistor")) return writeResistor(argv[1], argv[3]);
  if (argc != 5) {
    std::fputs("usage: write_photo FILE WIDTH HEIGHT RRGGBB | write_photo FILE resistor BAND,...\n", stderr);
    return 2;
  }
  QImage image(QString::fromLocal8Bit(argv[2]).toInt(), QString::fromLocal8Bit(argv[3]).toInt(), QImage::Format_RGB888);
  image.fill(QColor::fromRgb(QString::fromLatin1(argv[4]).toUInt(nullptr, 16)));
  return !image.isNull() && image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
