// Fuzz target: any small photo, read along any line or along the line the reader proposes. The
// first bytes give the photo's size (1 to 96 pixels a side) and the line: none, or two ends whose
// coordinates may lie far outside the photo, be equal, or be infinite or not a number; the rest are
// the pixels, repeated to fill the photo, so that stripes and blocks of colour come easily. The
// rules: the reader never crashes, throws or takes long; a refusal comes with its reason and no
// reading, a reading without a refusal; at most three readings, best first, scores between 0 and
// 1; each reading's bands (three to six) mean its value again; bands seen lie along the line in
// order; the JSON form is one object.
#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "fuzz/fuzz_input.h"
#include "photo/photo_reading.h"

namespace kalvori::fuzz {
namespace {

constexpr auto kSlow = std::chrono::seconds(1);

double coordinate(Input& in, int side) {
  const std::uint8_t b = in.byte();
  if (b == 255) return std::numeric_limits<double>::quiet_NaN();
  if (b == 254) return std::numeric_limits<double>::infinity();
  if (b == 253) return -1e300;
  // Mostly on the photo, sometimes a little or far beyond it.
  return (b - 32) * (side + 1) / 180.0;
}

}  // namespace
}  // namespace kalvori::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvori;
  using namespace kalvori::fuzz;
  Input in(data, size);
  const int width = 1 + static_cast<int>(in.pick(96)), height = 1 + static_cast<int>(in.pick(96));
  std::optional<BodyLine> line;
  if (in.byte() & 1) {
    line = BodyLine{{coordinate(in, width), coordinate(in, height)}, {coordinate(in, width), coordinate(in, height)}};
  }
  RgbImage photo(width, height);
  std::string pixels;
  while (!in.done()) pixels += static_cast<char>(in.byte());
  if (pixels.empty()) pixels = "\x80";
  for (std::size_t i = 0; i < photo.rgb.size(); ++i) photo.rgb[i] = static_cast<std::uint8_t>(pixels[i % pixels.size()]);

  const auto start = std::chrono::steady_clock::now();
  const PhotoAnswer a = readPhoto(photo, line);
  const std::string json = photoJson(a);
  check(std::chrono::steady_clock::now() - start < kSlow, "a small photo read in under a second");

  const bool refused = a.refusal != PhotoRefusal::None;
  check(refused == a.readings.empty(), "a refusal exactly when there is no reading");
  check(refused == !a.why.empty(), "a refusal says why, a reading does not");
  check(a.readings.size() <= 3, "at most three readings");
  for (std::size_t i = 0; i < a.readings.size(); ++i) {
    const BandReading& r = a.readings[i];
    check(r.score >= 0 && r.score <= 1, "a score between 0 and 1");
    check(i == 0 || r.score <= a.readings[i - 1].score, "readings best first");
    check(r.bands.size() >= 3 && r.bands.size() <= 6, "three to six bands");
    const auto again = readingOfBands(r.bands);
    check(again && again->ohms == r.ohms && again->tolerance == r.tolerance, "the bands mean the reading's value");
  }
  for (std::size_t i = 0; i < a.seen.size(); ++i) {
    const SeenBand& s = a.seen[i];
    check(!s.colours.empty(), "a band seen has a colour");
    check(s.from >= 0 && s.from <= s.to && s.to <= 1, "a band seen lies along the line");
    check(i == 0 || a.seen[i - 1].to <= s.from, "bands seen in order");
  }
  check(json.size() >= 2 && json.front() == '{' && json.back() == '}', "the JSON form is one object");
  return 0;
}
