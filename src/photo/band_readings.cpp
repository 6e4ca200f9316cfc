#include "photo/band_readings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "marking/band_words.h"
#include "marking/e_series.h"

namespace kalvori {

namespace {

// The colours of a band tried in readings: its likeliest few, each at least this likely.
constexpr std::size_t kColoursTried = 3;
constexpr double kLeastOdds = 0.02;

// How common each colour is in each place on real parts, relative to the commonest. A tolerance band
// of four-band parts is nearly always gold or silver; five- and six-band parts are mostly ±1 %
// (brown) or ±2 % (red). Multipliers above violet are rare, white and grey rarest.
constexpr std::array<double, kBandCount> kTolerance4{0, 0.25, 0.15, 0, 0, 0.05, 0.05, 0.05, 0.05, 0, 1, 0.5};
constexpr std::array<double, kBandCount> kTolerance5{0, 1, 0.5, 0, 0, 0.3, 0.2, 0.15, 0.1, 0, 0.5, 0.2};
constexpr std::array<double, kBandCount> kMultiplier{1, 1, 1, 1, 1, 0.7, 0.5, 0.2, 0.05, 0.05, 0.5, 0.2};
constexpr std::array<double, kBandCount> kTempco{0.3, 1, 0.5, 0.3, 0.5, 0.3, 0.3, 0.2, 0.2, 0, 0, 0};

// A value outside the series its tolerance is made in: a misread more often than a real part.
constexpr double kOffSeries = 0.12;
// The widest gap standing before the last band: the tolerance band is set apart on most parts.
constexpr double kWideGapBefore = 1.35;  // times the other gaps' mean
constexpr double kWideGapOdds = 2;
// The first band sits nearer its cap than the last band does to the other: by this share, these
// odds.
constexpr double kCloserStart = 0.75;
constexpr double kCloserStartOdds = 1.5;
// One band seen too many (a highlight on a cap, a speck): rarer than all bands seen right, likelier
// for a pale band, which a highlight looks like.
constexpr double kOneBandTooMany = 0.08;
constexpr double kPaleBand = 85;  // L*, the body's paint at 80
constexpr double kPaleOdds = 3;

// The power the readings' weights are raised to before they are shared out (see rankReadings).
constexpr double kSharpening = 1.5;

double of(const std::array<double, kBandCount>& table, Band b) { return table[static_cast<std::size_t>(b)]; }

// The index in eSeries() of the smallest series holding the value's digits (E6 0 ... E192 5), or 6.
std::size_t seriesOf(const Decimal& value) {
  const ESeries* s = smallestSeriesHolding(value);
  if (!s) return eSeries().size();
  return static_cast<std::size_t>(s - eSeries().data());
}

double seriesOdds(const BandReading& r) {
  const std::size_t series = seriesOf(r.ohms);
  constexpr std::size_t e12 = 1, e24 = 2, e192 = 5;
  if (!r.tolerance) return series <= e12 ? 1 : series <= e24 ? 0.5 : kOffSeries;
  const std::optional<Decimal> percent = r.tolerance->symmetricPercent();
  const bool precise = percent && !(Decimal::of(2, 0) < *percent);  // ±2 % and finer
  if (precise) return series <= e192 ? 1 : kOffSeries;
  return series <= e24 ? 1 : kOffSeries;
}

struct Group {
  BandReading best;
  double bestWeight = 0;
  double weight = 0;
};

}  // namespace

std::optional<BandReading> readingOfBands(const std::vector<Band>& bands) {
  if (bands.size() < 3 || bands.size() > 6) return std::nullopt;
  const std::size_t digitBands = bands.size() >= 5 ? 3 : 2;
  std::uint64_t digits = 0;
  for (std::size_t i = 0; i < digitBands; ++i) {
    const std::optional<int> digit = bandColour(bands[i]).digit;
    if (!digit) return std::nullopt;
    digits = digits * 10 + static_cast<std::uint64_t>(*digit);
  }
  // A black first digit would be a leading zero: no resistor is marked so.
  if (bands[0] == Band::Black) return std::nullopt;
  BandReading r;
  r.bands = bands;
  r.ohms = Decimal::of(digits, multiplierPower(bands[digitBands]));
  if (bands.size() >= 4) {
    const std::optional<Decimal> t = bandTolerance(bands[digitBands + 1]);
    if (!t) return std::nullopt;
    r.tolerance = Tolerance(*t);
  }
  if (bands.size() == 6) {
    r.tempco = bandTempco(bands[5]);
    if (!r.tempco) return std::nullopt;
  }
  return r;
}

namespace {

// Every reading of `seen` in both directions, each weighed and added to its group.
void weighAll(const std::vector<SeenBand>& seen, double prior, std::vector<Group>& groups, double& total) {
  const std::size_t n = seen.size();
  if (n < 3 || n > 6) return;
  // The gaps between neighbouring bands, from line.from.
  std::vector<double> gaps;
  for (std::size_t i = 1; i < n; ++i) gaps.push_back(std::max(0.0, seen[i].from - seen[i - 1].to));
  for (bool reversed : {false, true}) {
    std::vector<const SeenBand*> order;
    for (std::size_t i = 0; i < n; ++i) order.push_back(&seen[reversed ? n - 1 - i : i]);
    // The gap that stands out (if one does) tells which end the tolerance band is at.
    double gapOdds = 1;
    if (n >= 4) {
      const std::size_t widest = static_cast<std::size_t>(std::max_element(gaps.begin(), gaps.end()) - gaps.begin());
      double others = 0;
      for (std::size_t i = 0; i < gaps.size(); ++i)
        if (i != widest) others += gaps[i] / static_cast<double>(gaps.size() - 1);
      if (gaps[widest] > kWideGapBefore * others) {
        const std::size_t beforeLast = reversed ? 0 : gaps.size() - 1;
        const std::size_t afterFirst = reversed ? gaps.size() - 1 : 0;
        if (widest == beforeLast)
          gapOdds = kWideGapOdds;
        else if (widest == afterFirst)
          gapOdds = 1 / kWideGapOdds;
      }
    }
    // The first band sits nearer its end of the body than the last band does to the other end:
    // the bands start at a cap and the tolerance band (or, on three bands, the bare body) is apart.
    const double startMargin = reversed ? 1 - seen.back().to : seen.front().from;
    const double endMargin = reversed ? seen.front().from : 1 - seen.back().to;
    if (startMargin < kCloserStart * endMargin)
      gapOdds *= kCloserStartOdds;
    else if (endMargin < kCloserStart * startMargin)
      gapOdds /= kCloserStartOdds;
    std::vector<Band> bands(n);
    std::function<void(std::size_t, double)> tryFrom = [&](std::size_t i, double weight) {
      if (i == n) {
        std::optional<BandReading> r = readingOfBands(bands);
        if (!r) return;
        const std::size_t digitBands = n >= 5 ? 3 : 2;
        double w = prior * weight * gapOdds * seriesOdds(*r) * of(kMultiplier, bands[digitBands]);
        if (n >= 4) w *= of(n == 4 ? kTolerance4 : kTolerance5, bands[digitBands + 1]);
        if (n == 6) w *= of(kTempco, bands[5]);
        if (!(w > 0)) return;
        r->reversed = reversed;
        total += w;
        for (Group& g : groups)
          if (g.best.ohms == r->ohms && g.best.tolerance == r->tolerance && g.best.tempco == r->tempco) {
            g.weight += w;
            if (w > g.bestWeight) g.bestWeight = w, g.best = *r;
            return;
          }
        groups.push_back({*r, w, w});
        return;
      }
      const SeenBand& b = *order[i];
      for (std::size_t k = 0; k < b.colours.size() && k < kColoursTried; ++k) {
        const double odds = k < b.odds.size() ? b.odds[k] : 1.0;
        if (k > 0 && odds < kLeastOdds) break;
        bands[i] = b.colours[k];
        tryFrom(i + 1, weight * odds);
      }
    };
    tryFrom(0, 1);
  }
}

}  // namespace

std::vector<BandReading> rankReadings(const std::vector<SeenBand>& seen) {
  std::vector<Group> groups;
  double total = 0;
  weighAll(seen, 1, groups, total);
  // A highlight or a speck taken for a band: the readings without one of the bands, the palest
  // and the least paint-like first in line to go.
  if (seen.size() >= 4)
    for (std::size_t i = 0; i < seen.size(); ++i) {
      std::vector<SeenBand> fewer = seen;
      fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
      const double pale = seen[i].lab[0] > kPaleBand ? kPaleOdds : 1;
      weighAll(fewer, kOneBandTooMany * pale * (1 + seen[i].strangeness), groups, total);
    }
  if (!(total > 0)) return {};
  std::sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) { return a.weight > b.weight; });
  // The colour odds are spread wide enough for every camera, so for any one photo each band's odds
  // are flatter than its own light and lens warrant, and the product over the bands understates
  // how far the likeliest reading stands out. Sharpening the weights by a power brings a reading's
  // share near the share of such readings that are right, measured over photos as other cameras,
  // lights, scales and backgrounds give them.
  double sharpened = 0;
  for (const Group& g : groups) sharpened += std::pow(g.weight / total, kSharpening);
  std::vector<BandReading> out;
  for (Group& g : groups) {
    g.best.score = std::pow(g.weight / total, kSharpening) / sharpened;
    out.push_back(g.best);
  }
  return out;
}

}  // namespace kalvori
