#include "photo/band_paints.h"

#include <algorithm>
#include <cmath>

namespace kalvori {

namespace {

// Lightness counts less than hue: the strip's rows average the cylinder's shading, and a band's
// lightness depends on how much of it the glare stripe took.
constexpr double kLightWeight = 0.6;

// Relative to a body paint shown at its reference (a beige of L* 80), as a camera sees lacquered
// bands: lighter and duller than the paints' own colours, since the strip averages the cylinder's
// shading and its sheen, and blur mixes in the body. Brown is a dark orange-red, close to red but
// darker and less saturated; gold is a dull, darker yellow, silver a grey that shines.
constexpr std::array<BandPaint, kBandCount> kPaints{{
    {Band::Black, {35, 1, 7}, 11, false},
    {Band::Brown, {48, 26, 20}, 12, false},
    {Band::Red, {53, 55, 30}, 12, false},
    {Band::Orange, {68, 40, 52}, 12, false},
    {Band::Yellow, {86, 0, 70}, 14, false},
    {Band::Green, {47, -24, 2}, 14, false},
    {Band::Blue, {43, -2, -30}, 13, false},
    {Band::Violet, {48, 22, -30}, 13, false},
    {Band::Grey, {65, -1, 3}, 10, false},
    {Band::White, {95, -2, 5}, 10, false},
    {Band::Gold, {68, 11, 33}, 11, true},
    {Band::Silver, {72, -1, 4}, 9, true},
}};

// Cameras differ most in how saturated they render colours (phones push saturation up, cheap
// sensors wash it out): chroma changes by a factor, so its difference counts as a ratio, worth this
// many CIELAB units per natural logarithm at the paints' typical chroma. Hue and lightness are
// left as they are. Greys' chroma is mostly noise: the ratio is taken over chroma plus this much.
constexpr double kChromaPerLog = 45;
constexpr double kChromaFloor = 12;

double paintDistance(const Lab& seen, const Lab& paint) {
  const double c1 = chromaOf(seen), c2 = chromaOf(paint);
  const double dl = (seen.L - paint.L) * kLightWeight;
  const double dc = kChromaPerLog * std::log((c1 + kChromaFloor) / (c2 + kChromaFloor));
  // The hue difference as CIE defines it: what is left of the a, b distance once chroma is taken out.
  const double da = seen.a - paint.a, db = seen.b - paint.b;
  const double dh2 = std::max(0.0, da * da + db * db - (c1 - c2) * (c1 - c2));
  return std::sqrt(dl * dl + dc * dc + dh2);
}

constexpr bool paintsInOrder() {
  for (std::size_t i = 0; i < kPaints.size(); ++i)
    if (static_cast<std::size_t>(kPaints[i].band) != i) return false;
  return true;
}
static_assert(paintsInOrder(), "kPaints must be indexed by Band");

// The colours a metal paint is mistaken for, told apart by its shine: gold from yellow, orange and
// brown, silver from grey and white.
bool looksLikeMetal(Band b) {
  return b == Band::Yellow || b == Band::Orange || b == Band::Brown || b == Band::Grey || b == Band::White;
}

}  // namespace

std::span<const BandPaint> bandPaints() { return kPaints; }

ColourOdds colourOdds(const Lab& lab, double shine, double& nearest) {
  // How metallic the band looks: 0 for a shine like the body's lacquer, 1 for twice as much.
  const double metal = std::clamp((shine - 1.0) / 1.0, 0.0, 1.0);
  // In logarithms, so that a band far from every paint still gets odds (its nearest paints).
  ColourOdds odds{};
  double top = -1e300;
  nearest = 1e9;
  for (const BandPaint& p : kPaints) {
    const double d = paintDistance(lab, p.lab) / p.spread;
    nearest = std::min(nearest, d);
    double w = -0.5 * d * d;
    if (p.metallic)
      w += std::log(0.5 + metal);
    else if (looksLikeMetal(p.band))
      w += std::log(1.5 - metal);
    odds[static_cast<std::size_t>(p.band)] = w;
    top = std::max(top, w);
  }
  double sum = 0;
  for (double& o : odds) sum += o = std::exp(o - top);
  for (double& o : odds) o /= sum;
  return odds;
}

}  // namespace kalvori
