#include "photo/body_strip.h"

#include <algorithm>
#include <cmath>

#include "photo/photo_reading.h"

namespace kalvori {

namespace {

// A row whose typical brightness is this many times the typical row's is the glare stripe.
constexpr double kGlareRowBrightness = 1.3;
constexpr double kTypicalRow = 0.3;  // of the rows from the darkest
constexpr int kLeastRowsKept = 3;
constexpr double kClipped = 0.97;  // linear light: a byte of 250 and more

LinearRgb sampleAt(const RgbImage& photo, double x, double y) {
  x = std::clamp(x - 0.5, 0.0, photo.width - 1.0);
  y = std::clamp(y - 0.5, 0.0, photo.height - 1.0);
  const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
  const int x1 = std::min(x0 + 1, photo.width - 1), y1 = std::min(y0 + 1, photo.height - 1);
  const double fx = x - x0, fy = y - y0;
  const LinearRgb a = linearOf(photo.pixel(x0, y0)), b = linearOf(photo.pixel(x1, y0));
  const LinearRgb c = linearOf(photo.pixel(x0, y1)), d = linearOf(photo.pixel(x1, y1));
  auto mix = [&](double p, double q, double r, double s) {
    return (p * (1 - fx) + q * fx) * (1 - fy) + (r * (1 - fx) + s * fx) * fy;
  };
  return {mix(a.r, b.r, c.r, d.r), mix(a.g, b.g, c.g, d.g), mix(a.b, b.b, c.b, d.b)};
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

}  // namespace

BodyStrip sampleStrip(const RgbImage& photo, const BodyLine& line, double halfSpan, int rows, int maxColumns) {
  BodyStrip s;
  const double dx = line.to.x - line.from.x, dy = line.to.y - line.from.y;
  const double length = std::hypot(dx, dy);
  if (photo.empty() || !(length >= 1) || !std::isfinite(length) || rows < 1 || maxColumns < 1) return s;
  s.columns = std::clamp(static_cast<int>(std::lround(length)), 1, maxColumns);
  s.rows = rows;
  s.pixelsPerColumn = length / s.columns;
  const double ux = dx / length, uy = dy / length;
  s.px.resize(static_cast<std::size_t>(s.columns) * static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) {
    const double v = rows == 1 ? 0 : halfSpan * (2.0 * r / (rows - 1) - 1);
    for (int c = 0; c < s.columns; ++c) {
      const double t = (c + 0.5) * s.pixelsPerColumn;
      s.px[static_cast<std::size_t>(r) * static_cast<std::size_t>(s.columns) + static_cast<std::size_t>(c)] =
          sampleAt(photo, line.from.x + t * ux - v * uy, line.from.y + t * uy + v * ux);
    }
  }
  return s;
}

StripColumns columnsOf(const BodyStrip& strip) {
  StripColumns out;
  if (strip.columns == 0) return out;
  std::vector<double> rowLevel(static_cast<std::size_t>(strip.rows));
  std::size_t clipped = 0;
  for (int r = 0; r < strip.rows; ++r) {
    std::vector<double> y(static_cast<std::size_t>(strip.columns));
    for (int c = 0; c < strip.columns; ++c) {
      const LinearRgb& p = strip.at(c, r);
      y[static_cast<std::size_t>(c)] = luminance(p);
      clipped += std::min({p.r, p.g, p.b}) >= kClipped;  // white: a colour clipped in one channel is still seen
    }
    rowLevel[static_cast<std::size_t>(r)] = median(std::move(y));
  }
  out.clippedShare = static_cast<double>(clipped) / static_cast<double>(strip.px.size());
  // The typical row: a darker one than the median, which a wide stripe would move.
  std::vector<double> levels = rowLevel;
  std::sort(levels.begin(), levels.end());
  const double typical = levels[static_cast<std::size_t>(kTypicalRow * (levels.size() - 1))];
  std::vector<int> kept;
  for (int r = 0; r < strip.rows; ++r)
    if (rowLevel[static_cast<std::size_t>(r)] <= kGlareRowBrightness * typical) kept.push_back(r);
  if (static_cast<int>(kept.size()) < kLeastRowsKept) {
    // Most of the strip is bright: keep the rows nearest the typical one.
    kept.clear();
    std::vector<int> order(static_cast<std::size_t>(strip.rows));
    for (int r = 0; r < strip.rows; ++r) order[static_cast<std::size_t>(r)] = r;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      return std::abs(rowLevel[static_cast<std::size_t>(a)] - typical) <
             std::abs(rowLevel[static_cast<std::size_t>(b)] - typical);
    });
    kept.assign(order.begin(), order.begin() + std::min(strip.rows, kLeastRowsKept));
  }
  out.rowsKept = static_cast<int>(kept.size());
  out.colour.resize(static_cast<std::size_t>(strip.columns));
  out.sheen.resize(static_cast<std::size_t>(strip.columns));
  for (int c = 0; c < strip.columns; ++c) {
    LinearRgb sum;
    for (int r : kept) {
      const LinearRgb& p = strip.at(c, r);
      sum.r += p.r, sum.g += p.g, sum.b += p.b;
    }
    const double n = static_cast<double>(kept.size());
    out.colour[static_cast<std::size_t>(c)] = {sum.r / n, sum.g / n, sum.b / n};
    double lo = 1e9, hi = 0;
    for (int r = 0; r < strip.rows; ++r) {
      const double y = luminance(strip.at(c, r));
      lo = std::min(lo, y), hi = std::max(hi, y);
    }
    out.sheen[static_cast<std::size_t>(c)] = hi - lo;
  }
  return out;
}

RgbImage straightStrip(const RgbImage& photo, const BodyLine& line, int height, int maxWidth) {
  height = std::clamp(height, 1, 4096);
  maxWidth = std::clamp(maxWidth, 1, 4096);
  const bool finite =
      std::isfinite(line.from.x) && std::isfinite(line.from.y) && std::isfinite(line.to.x) && std::isfinite(line.to.y);
  const double length = finite ? std::hypot(line.to.x - line.from.x, line.to.y - line.from.y) : 0;
  const int width = std::clamp(std::isfinite(length) ? static_cast<int>(std::min(length, 4096.0)) : 1, 1, maxWidth);
  RgbImage out(width, height);
  if (!finite || photo.empty() || !(length >= 1) || !std::isfinite(length) ||
      photo.rgb.size() != static_cast<std::size_t>(photo.width) * static_cast<std::size_t>(photo.height) * 3)
    return out;
  // Across the body: about a third of its length, as a quarter-watt body's thickness is.
  const BodyStrip s = sampleStrip(photo, line, 0.18 * length, height, width);
  for (int r = 0; r < s.rows; ++r)
    for (int c = 0; c < s.columns && c < width; ++c) {
      const LinearRgb& p = s.at(c, r);
      std::uint8_t* q = out.pixel(c, r);
      q[0] = byteOfLinear(p.r), q[1] = byteOfLinear(p.g), q[2] = byteOfLinear(p.b);
    }
  return out;
}

}  // namespace kalvori
