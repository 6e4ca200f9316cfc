// Placeholder until the reader lands: every photo is refused.
#include "photo/photo_reading.h"

#include "marking/band_words.h"

namespace kalvori {

std::optional<BodyLine> proposeLine(const RgbImage&) { return std::nullopt; }

PhotoAnswer readPhoto(const RgbImage& photo, std::optional<BodyLine> line) {
  PhotoAnswer a;
  if (line) a.line = *line;
  a.lineProposed = !line;
  a.refusal = PhotoRefusal::NoBody;
  a.why = photo.empty() ? "照片是空的" : "找不到电阻";
  return a;
}

std::optional<BandReading> readingOfBands(const std::vector<Band>&) { return std::nullopt; }

RgbImage straightStrip(const RgbImage&, const BodyLine&, int height, int maxWidth) {
  return RgbImage(maxWidth > 0 ? maxWidth : 1, height > 0 ? height : 1);
}

std::string_view iecColourName(Band band) { return englishName(band); }

std::string photoJson(const PhotoAnswer& a) {
  return "{\"readings\": [], \"refusal\": \"" + a.why + "\"}";
}

}  // namespace kalvori
