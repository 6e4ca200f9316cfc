// The answer as JSON for the terminal and for tests: readings best first, values in ohms as plain
// numbers written from their exact digits, the line read along, and the refusal's words.
#include <cmath>
#include <cstdio>

#include "marking/answer_json.h"
#include "marking/band_words.h"
#include "photo/photo_reading.h"

namespace kalvori {

namespace {

std::string number(double v) {
  if (!std::isfinite(v)) return "null";
  char s[32];
  std::snprintf(s, sizeof s, "%.6g", v);
  return s;
}

std::string readingJson(const BandReading& r) {
  std::string out = "{\"bands\": [";
  for (std::size_t i = 0; i < r.bands.size(); ++i) out += (i ? ", " : "") + jsonString(iecColourName(r.bands[i]));
  out += "], \"value\": " + r.ohms.text() + ", \"unit\": \"Ω\", \"tolerance\": ";
  if (r.tolerance)
    out +=
        "{\"minus\": " + r.tolerance->minus.text() + ", \"plus\": " + r.tolerance->plus.text() + ", \"unit\": \"%\"}";
  else
    out += "null";
  if (r.tempco) out += ", \"tempco\": {\"value\": " + std::to_string(*r.tempco) + ", \"unit\": \"ppm/K\"}";
  char score[16];
  std::snprintf(score, sizeof score, "%.2f", std::isfinite(r.score) ? r.score : 0.0);
  return out + ", \"score\": " + score + "}";
}

}  // namespace

std::string_view iecColourName(Band band) { return englishName(band); }

std::string photoJson(const PhotoAnswer& a) {
  std::string out = "{\"readings\": [";
  for (std::size_t i = 0; i < a.readings.size(); ++i) out += (i ? ", " : "") + readingJson(a.readings[i]);
  out += "], \"line\": [" + number(a.line.from.x) + ", " + number(a.line.from.y) + ", " + number(a.line.to.x) + ", " +
         number(a.line.to.y) + "], \"refusal\": ";
  out += a.refusal == PhotoRefusal::None ? "null" : jsonString(a.why);
  return out + "}";
}

}  // namespace kalvori
