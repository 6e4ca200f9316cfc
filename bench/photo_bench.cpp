// The photo reader on one 1280×720 photo, its line proposed first: a painted resistor, and a jig
// photo scaled up to that size (from the folder in KALVORI_JIG_PHOTOS; skipped without it). Run in a
// Release build. QImage only decodes and scales the JPEG file, outside the timed loop.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdlib>
#include <string>

#include "photo/photo_reading.h"
#include "support/resistor_render.h"

namespace {

using namespace kalvori;

RgbImage painted() {
  test::ResistorScene scene;
  scene.width = 1280, scene.height = 720, scene.cx = 610, scene.cy = 380, scene.length = 420, scene.angle = 0.3;
  scene.bands = {Band::Yellow, Band::Violet, Band::Red, Band::Gold};
  return test::renderResistor(scene);
}

void readOnce(benchmark::State& state, const RgbImage& photo) {
  for (auto _ : state) benchmark::DoNotOptimize(readPhoto(photo));
}

void paintedPhoto(benchmark::State& state) {
  static const RgbImage photo = painted();
  readOnce(state, photo);
}
BENCHMARK(paintedPhoto)->Unit(benchmark::kMillisecond);

void jigPhotoScaledUp(benchmark::State& state) {
  const char* folder = std::getenv("KALVORI_JIG_PHOTOS");
  const QImage source = folder ? QImage(QString::fromUtf8(folder) + "/0000.jpg") : QImage();
  if (source.isNull()) {
    state.SkipWithError("no jig photo: set KALVORI_JIG_PHOTOS to the jig's folder");
    return;
  }
  // 1280 wide keeps the aspect at 1280×960; the middle 720 rows are the photo.
  const QImage big = source.scaled(1280, 960, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .copy(0, 120, 1280, 720)
                         .convertToFormat(QImage::Format_RGB888);
  RgbImage photo(big.width(), big.height());
  for (int y = 0; y < big.height(); ++y)
    std::copy_n(big.constScanLine(y), static_cast<std::size_t>(big.width()) * 3, photo.pixel(0, y));
  readOnce(state, photo);
}
BENCHMARK(jigPhotoScaledUp)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
