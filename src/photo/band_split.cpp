#include "photo/band_split.h"

#include <algorithm>
#include <cmath>

namespace kalvori {

namespace {

// Shares of the strip's length. A band on a resistor is about a twelfth of the body's length, and
// so is a gap; half a band's width is the least either can be, blur and all.
constexpr double kLeastBand = 0.025;
constexpr double kLeastGap = 0.012;
constexpr double kEndMargin = 0.02;
// The threshold: a share of how far the clearest bands stand out, never so low that the body's
// own grain splits it nor so high that a pale band on a pale body is lost.
constexpr double kThresholdShare = 0.35;
constexpr double kLeastThreshold = 8;
constexpr double kMostThreshold = 18;
// A run this many times the typical band's width, whose halves differ this much, is two bands
// whose gap the blur filled.
constexpr double kJoinedWidth = 1.7;
constexpr double kJoinedApart = 18;

}  // namespace

std::vector<BandRun> splitBands(const std::vector<Lab>& columns, const Lab& body) {
  const int n = static_cast<int>(columns.size());
  std::vector<BandRun> runs;
  if (n < 8) return runs;
  std::vector<double> apart(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i) apart[i] = labDistance(columns[i], body);
  std::vector<double> sorted = apart;
  std::sort(sorted.begin(), sorted.end());
  const double clear = sorted[static_cast<std::size_t>(0.9 * (n - 1))];
  const double threshold = std::clamp(kThresholdShare * clear, kLeastThreshold, kMostThreshold);

  const int margin = static_cast<int>(std::lround(kEndMargin * n));
  for (int i = margin; i < n - margin; ++i) {
    if (apart[static_cast<std::size_t>(i)] <= threshold) continue;
    if (!runs.empty() && i - runs.back().to <= std::max(1.0, kLeastGap * n))
      runs.back().to = i + 1;
    else if (!runs.empty() && runs.back().to == i)
      runs.back().to = i + 1;
    else
      runs.push_back({i, i + 1});
  }
  // Runs against the ends are the caps' edges or what lies past them.
  std::erase_if(runs, [&](const BandRun& r) { return r.from <= margin || r.to >= n - margin; });
  std::erase_if(runs, [&](const BandRun& r) { return r.to - r.from < std::max(2.0, kLeastBand * n); });
  if (runs.empty()) return runs;

  std::vector<int> widths;
  for (const BandRun& r : runs) widths.push_back(r.to - r.from);
  std::nth_element(widths.begin(), widths.begin() + static_cast<std::ptrdiff_t>(widths.size() / 2), widths.end());
  const int typical = widths[widths.size() / 2];
  std::vector<BandRun> out;
  for (const BandRun& r : runs) {
    const int w = r.to - r.from;
    if (runs.size() < 6 && w > kJoinedWidth * typical && w >= 6) {
      // Where the colour changes most, between the means of a few columns each side.
      const int side = std::max(2, w / 5);
      int cut = -1;
      double most = kJoinedApart;
      for (int c = r.from + side; c <= r.to - side; ++c) {
        Lab a, b;
        for (int k = 0; k < side; ++k) {
          const Lab& p = columns[static_cast<std::size_t>(c - 1 - k)];
          const Lab& q = columns[static_cast<std::size_t>(c + k)];
          a.L += p.L / side, a.a += p.a / side, a.b += p.b / side;
          b.L += q.L / side, b.a += q.a / side, b.b += q.b / side;
        }
        const double d = labDistance(a, b);
        if (d > most) most = d, cut = c;
      }
      if (cut > 0) {
        out.push_back({r.from, cut});
        out.push_back({cut, r.to});
        continue;
      }
    }
    out.push_back(r);
  }
  return out;
}

}  // namespace kalvori
