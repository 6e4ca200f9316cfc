#include "photo/white_balance.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kalvori {

namespace {

// Bodies in daylight, as sRGB: carbon film's beige, metal film's light blue and pale green; and
// how common each is. A beige body under a cool light and a blue or green body under a warm one
// look alike, so which paint is commoner decides when the bands fit both about as well.
const std::array<BodyPaint, 3> kBodies{{
    {"beige", linearOfSrgb(222, 196, 160), 1},
    {"blue", linearOfSrgb(110, 165, 210), 0.5},
    {"green", linearOfSrgb(130, 180, 150), 0.5},
}};

// Columns within this distance of one another are the same paint (noise and shading apart).
constexpr double kSameColour = 7;
constexpr double kLightWeight = 0.5;
constexpr double kMostCast = 1.6;
// How quickly a stronger cast becomes less likely, in natural logarithms of a channel's gain.
constexpr double kCastSpread = 0.3;

}  // namespace

std::span<const BodyPaint> bodyPaints() { return kBodies; }

BodyColour commonColour(const std::vector<LinearRgb>& columns) {
  BodyColour out;
  out.isBody.assign(columns.size(), false);
  if (columns.empty()) return out;
  std::vector<Lab> lab(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i) lab[i] = labOf(columns[i]);
  // Candidates every few columns; each counts the columns near it.
  const std::size_t step = std::max<std::size_t>(1, columns.size() / 120);
  std::size_t best = 0;
  int bestCount = -1;
  for (std::size_t i = 0; i < columns.size(); i += step) {
    int n = 0;
    for (const Lab& other : lab) n += labDistance(lab[i], other, kLightWeight) < kSameColour;
    if (n > bestCount) bestCount = n, best = i;
  }
  LinearRgb sum;
  int n = 0;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (labDistance(lab[best], lab[i], kLightWeight) < kSameColour) {
      out.isBody[i] = true;
      sum.r += columns[i].r, sum.g += columns[i].g, sum.b += columns[i].b, ++n;
    }
  out.colour = {sum.r / n, sum.g / n, sum.b / n};
  return out;
}

Gains gainsFor(const LinearRgb& seen, const BodyPaint& paint) {
  const double floor = 1e-4;
  double r = paint.reference.r / std::max(seen.r, floor);
  double g = paint.reference.g / std::max(seen.g, floor);
  double b = paint.reference.b / std::max(seen.b, floor);
  // The level (the geometric mean) is free; the cast around it is held.
  const double level = std::cbrt(r * g * b);
  double cast = 0;
  for (double* k : {&r, &g, &b}) {
    const double c = std::clamp(*k / level, 1 / kMostCast, kMostCast);
    cast += std::log(c) * std::log(c);
    *k = level * c;
  }
  Gains out{r, g, b, std::exp(-0.5 * cast / (kCastSpread * kCastSpread))};
  return out;
}

}  // namespace kalvori
