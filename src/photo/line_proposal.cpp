#include "photo/line_proposal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "photo/lab_colour.h"
#include "photo/photo_reading.h"

namespace kalvori {

namespace {

// The small copy's longer side: a body a few percent of the photo is still several pixels thick.
constexpr int kSmallSide = 240;
constexpr int kBackgroundColours = 6;
// A background colour covers this share of the photo, or of its edge (a lead crossing the edge
// does not).
constexpr double kLeastPhotoShare = 0.12;
constexpr double kLeastEdgeShare = 0.15;
// Lightness counts a third when telling the body from the background: shadows and the lamp's reflection
// on a tray change lightness, the body's paint changes hue.
constexpr double kLightWeight = 0.35;
// Otsu's threshold between the background and everything else, held between these: below, the
// glow around a lamp's reflection stands out; above, a pale body on a pale tray (the threshold
// would fall between the body and its darker bands).
constexpr double kLeastThreshold = 16;
constexpr double kMostThreshold = 20;
// A pixel's surroundings: this many blocks (a twentieth of the photo each) each way. A background
// colour counts there when it covers this share of them; a body, thinner than the surroundings
// are wide, covers less.
constexpr int kSurroundBlocks = 2;
constexpr double kSurroundShare = 0.4;
// The core of a piece: pixels at least this share of its greatest depth inside it. The leads and
// thin edges fall away; the body's middle stays.
constexpr double kCoreDepth = 0.45;
constexpr double kLeastDepth = 1.5;  // small-copy pixels: thinner pieces are no body
// Pieces are the thick foreground only: leads, a tray's rim and thin shadows touching the body
// would otherwise join it into one piece whose axis leans.
constexpr double kThick = 2;
// Gaps in the foreground up to twice this share of the photo's size are closed: a band or two the
// colour of the background.
constexpr double kClosing = 0.025;
// Where the cross width falls below this share of the middle's width, the cap has ended.
constexpr double kCapWidthShare = 0.5;
// People frame the part they photograph: a piece's odds fall off away from the photo's middle, by
// this share of the photo's size.
constexpr double kMiddleSpread = 0.22;
constexpr double kEdgeBand = 0.08;
constexpr int kStations = 16;  // cross-sections that set the axis
constexpr std::size_t kPiecesTried = 3;
// A body is longer than it is thick (a quarter-watt one about three times).
constexpr double kLeastLengthPerWidth = 1.5;

struct Small {
  int w = 0, h = 0;
  double scaleX = 1, scaleY = 1;  // photo pixels per small pixel
  std::vector<Lab> lab;
};

Small shrink(const RgbImage& photo) {
  Small s;
  const int step = std::max(1, (std::max(photo.width, photo.height) + kSmallSide - 1) / kSmallSide);
  s.w = std::max(1, photo.width / step);
  s.h = std::max(1, photo.height / step);
  s.scaleX = static_cast<double>(photo.width) / s.w;
  s.scaleY = static_cast<double>(photo.height) / s.h;
  s.lab.resize(static_cast<std::size_t>(s.w) * static_cast<std::size_t>(s.h));
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      LinearRgb sum;
      int n = 0;
      for (int dy = 0; dy < step; ++dy)
        for (int dx = 0; dx < step; ++dx) {
          const int px = std::min(photo.width - 1, x * step + dx), py = std::min(photo.height - 1, y * step + dy);
          const LinearRgb c = linearOf(photo.pixel(px, py));
          sum.r += c.r, sum.g += c.g, sum.b += c.b, ++n;
        }
      s.lab[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.w) + static_cast<std::size_t>(x)] =
          labOf({sum.r / n, sum.g / n, sum.b / n});
    }
  return s;
}

// The background's colours: the photo's commonest colours (k-means over the small copy), those
// that cover much of the photo or much of its edge. A resistor is a small part of a photo of it; a
// tray, a desk or a hand is most of it.
std::vector<Lab> backgroundColours(const Small& s) {
  std::vector<Lab> all;
  std::vector<bool> onEdge;
  for (int y = 0; y < s.h; y += 2)
    for (int x = 0; x < s.w; x += 2) {
      all.push_back(s.lab[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.w) + static_cast<std::size_t>(x)]);
      onEdge.push_back(x < 4 || y < 4 || x >= s.w - 4 || y >= s.h - 4);
    }
  // Seeds far apart: each the colour furthest from those chosen.
  std::vector<Lab> centres{all[all.size() / 2]};
  while (centres.size() < static_cast<std::size_t>(kBackgroundColours)) {
    std::size_t far = 0;
    double farthest = -1;
    for (std::size_t i = 0; i < all.size(); ++i) {
      double d = 1e9;
      for (const Lab& c : centres) d = std::min(d, labDistance(all[i], c, kLightWeight));
      if (d > farthest) farthest = d, far = i;
    }
    centres.push_back(all[far]);
  }
  std::vector<int> count(centres.size()), edgeCount(centres.size());
  for (int round = 0; round < 8; ++round) {
    std::vector<Lab> sum(centres.size());
    std::fill(count.begin(), count.end(), 0);
    std::fill(edgeCount.begin(), edgeCount.end(), 0);
    for (std::size_t i = 0; i < all.size(); ++i) {
      const Lab& p = all[i];
      std::size_t best = 0;
      for (std::size_t k = 1; k < centres.size(); ++k)
        if (labDistance(p, centres[k], kLightWeight) < labDistance(p, centres[best], kLightWeight)) best = k;
      sum[best].L += p.L, sum[best].a += p.a, sum[best].b += p.b, ++count[best];
      edgeCount[best] += onEdge[i];
    }
    for (std::size_t k = 0; k < centres.size(); ++k)
      if (count[k] > 0) centres[k] = {sum[k].L / count[k], sum[k].a / count[k], sum[k].b / count[k]};
  }
  const double edges = static_cast<double>(std::count(onEdge.begin(), onEdge.end(), true));
  std::vector<Lab> kept;
  for (std::size_t k = 0; k < centres.size(); ++k)
    if (count[k] >= kLeastPhotoShare * static_cast<double>(all.size()) || edgeCount[k] >= kLeastEdgeShare * edges)
      kept.push_back(centres[k]);
  return kept;
}

// How far each pixel's colour is from the background around it: the nearest of the background
// colours that cover much of the pixel's surroundings. A body may share its colour with a cloth at
// the photo's edge; beside it lies the tray, and only the tray counts there.
std::vector<double> apartFromSurroundings(const Small& s, const std::vector<Lab>& background) {
  const std::size_t k = background.size();
  std::vector<std::size_t> nearest(s.lab.size());
  std::vector<std::vector<double>> dist(k, std::vector<double>(s.lab.size()));
  for (std::size_t i = 0; i < s.lab.size(); ++i) {
    for (std::size_t c = 0; c < k; ++c) dist[c][i] = labDistance(s.lab[i], background[c], kLightWeight);
    nearest[i] = static_cast<std::size_t>(
        std::min_element(dist.begin(), dist.end(), [&](const auto& x, const auto& y) { return x[i] < y[i]; }) -
        dist.begin());
  }
  const int block = std::max(2, std::min(s.w, s.h) / 20);
  const int bw = (s.w + block - 1) / block, bh = (s.h + block - 1) / block;
  std::vector<double> count(static_cast<std::size_t>(bw * bh) * k);
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x)
      count[static_cast<std::size_t>((y / block) * bw + x / block) * k +
            nearest[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.w) + static_cast<std::size_t>(x)]] += 1;
  // Per block, which background colours its surroundings hold.
  std::vector<std::vector<bool>> present(static_cast<std::size_t>(bw * bh), std::vector<bool>(k));
  for (int by = 0; by < bh; ++by)
    for (int bx = 0; bx < bw; ++bx) {
      std::vector<double> near(k);
      double all = 0;
      for (int y = std::max(0, by - kSurroundBlocks); y <= std::min(bh - 1, by + kSurroundBlocks); ++y)
        for (int x = std::max(0, bx - kSurroundBlocks); x <= std::min(bw - 1, bx + kSurroundBlocks); ++x)
          for (std::size_t c = 0; c < k; ++c)
            near[c] += count[static_cast<std::size_t>(y * bw + x) * k + c],
                all += count[static_cast<std::size_t>(y * bw + x) * k + c];
      auto& p = present[static_cast<std::size_t>(by * bw + bx)];
      const std::size_t most = static_cast<std::size_t>(std::max_element(near.begin(), near.end()) - near.begin());
      for (std::size_t c = 0; c < k; ++c) p[c] = c == most || near[c] >= kSurroundShare * all;
    }
  std::vector<double> apart(s.lab.size());
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(s.w) + static_cast<std::size_t>(x);
      const auto& p = present[static_cast<std::size_t>((y / block) * bw + x / block)];
      double d = 1e9;
      for (std::size_t c = 0; c < k; ++c)
        if (p[c]) d = std::min(d, dist[c][i]);
      apart[i] = d;
    }
  return apart;
}

// Otsu's threshold over distances 0 to 127.
double otsu(const std::vector<double>& values) {
  std::array<double, 128> hist{};
  for (double v : values) hist[static_cast<std::size_t>(std::clamp(v, 0.0, 127.0))] += 1;
  const double total = static_cast<double>(values.size());
  double sumAll = 0;
  for (std::size_t i = 0; i < hist.size(); ++i) sumAll += static_cast<double>(i) * hist[i];
  double below = 0, sumBelow = 0, best = 0, bestT = 0;
  for (std::size_t i = 0; i < hist.size(); ++i) {
    below += hist[i];
    sumBelow += static_cast<double>(i) * hist[i];
    if (below == 0 || below == total) continue;
    const double m0 = sumBelow / below, m1 = (sumAll - sumBelow) / (total - below);
    const double between = below * (total - below) * (m0 - m1) * (m0 - m1);
    if (between > best) best = between, bestT = static_cast<double>(i) + 1;
  }
  return bestT;
}

// Chamfer distance (3-4) to the nearest pixel outside the mask, in pixels; beyond the photo's edge
// counts as outside unless `edgeInside`.
std::vector<double> depthInside(const std::vector<std::uint8_t>& mask, int w, int h, bool edgeInside = false) {
  const int big = 1 << 28;
  const int edge = edgeInside ? big / 2 : 0;
  std::vector<int> d(mask.size());
  auto at = [&](int x, int y) -> int& {
    return d[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)]) {
        at(x, y) = 0;
        continue;
      }
      int v = big;
      // Outside the photo counts as outside the mask.
      v = std::min(v, (x > 0 ? at(x - 1, y) : edge) + 3);
      v = std::min(v, (y > 0 ? at(x, y - 1) : edge) + 3);
      v = std::min(v, (x > 0 && y > 0 ? at(x - 1, y - 1) : edge) + 4);
      v = std::min(v, (x + 1 < w && y > 0 ? at(x + 1, y - 1) : edge) + 4);
      at(x, y) = v;
    }
  for (int y = h - 1; y >= 0; --y)
    for (int x = w - 1; x >= 0; --x) {
      int v = at(x, y);
      if (v == 0) continue;
      v = std::min(v, (x + 1 < w ? at(x + 1, y) : edge) + 3);
      v = std::min(v, (y + 1 < h ? at(x, y + 1) : edge) + 3);
      v = std::min(v, (x + 1 < w && y + 1 < h ? at(x + 1, y + 1) : edge) + 4);
      v = std::min(v, (x > 0 && y + 1 < h ? at(x - 1, y + 1) : edge) + 4);
      at(x, y) = v;
    }
  std::vector<double> out(d.size());
  for (std::size_t i = 0; i < d.size(); ++i) out[i] = d[i] / 3.0;
  return out;
}

// Closing: grown by `r` pixels, then shrunk by as much. A band the colour of the background would
// otherwise cut the body in pieces.
void close(std::vector<std::uint8_t>& mask, int w, int h, double r) {
  std::vector<std::uint8_t> outside(mask.size());
  for (std::size_t i = 0; i < mask.size(); ++i) outside[i] = !mask[i];
  const std::vector<double> toMask = depthInside(outside, w, h, true);
  for (std::size_t i = 0; i < mask.size(); ++i) outside[i] = mask[i] || toMask[i] <= r;
  const std::vector<double> inside = depthInside(outside, w, h, true);
  for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = outside[i] && inside[i] > r;
}

struct Piece {
  std::vector<int> pixels;  // indices into the small copy
  double depth = 0;         // greatest depth inside
  double score = 0;
  double cx = 0, cy = 0, ux = 1, uy = 0;  // centre and long axis of the core
};

// The core's centre and long axis from its second moments, and how elongated it is.
double axisOf(Piece& p, const std::vector<double>& depth, int w) {
  double n = 0, sx = 0, sy = 0;
  for (int i : p.pixels)
    if (depth[static_cast<std::size_t>(i)] >= kCoreDepth * p.depth) n += 1, sx += i % w, sy += i / w;
  if (n == 0) return 0;
  p.cx = sx / n, p.cy = sy / n;
  double xx = 0, yy = 0, xy = 0;
  for (int i : p.pixels)
    if (depth[static_cast<std::size_t>(i)] >= kCoreDepth * p.depth) {
      const double dx = i % w - p.cx, dy = i / w - p.cy;
      xx += dx * dx, yy += dy * dy, xy += dx * dy;
    }
  const double angle = 0.5 * std::atan2(2 * xy, xx - yy);
  p.ux = std::cos(angle), p.uy = std::sin(angle);
  const double tr = (xx + yy) / n, det = (xx * yy - xy * xy) / (n * n);
  const double disc = std::sqrt(std::max(0.0, tr * tr / 4 - det));
  const double major = tr / 2 + disc, minor = std::max(1e-6, tr / 2 - disc);
  // A body is about three times as long as it is thick; longer pieces are not likelier.
  return std::min(5.0, std::sqrt(major / minor)) * n;
}

// The body's line through a piece: the axis walked both ways while the cross width lasts, then the
// axis set again through the cross-sections' middles and walked once more.
std::optional<FoundBody> bodyAlong(const Small& s, const std::vector<std::uint8_t>& mask, const Piece& piece) {
  const Piece* best = &piece;

  // Walk the axis both ways from the centre, measuring the piece's width across it.
  // Any foreground counts, not only the piece: a band the colour of the background cuts the body
  // in two pieces.
  auto inPiece = [&](double x, double y) {
    const int xi = static_cast<int>(std::floor(x + 0.5)), yi = static_cast<int>(std::floor(y + 0.5));
    return xi >= 0 && yi >= 0 && xi < s.w && yi < s.h &&
           mask[static_cast<std::size_t>(yi) * static_cast<std::size_t>(s.w) + static_cast<std::size_t>(xi)];
  };
  const double reach = 4 * best->depth + 2;
  auto widthAt = [&](double t) {
    const double ax = best->cx + t * best->ux, ay = best->cy + t * best->uy;
    double w = 0;
    for (int side : {-1, 1})
      for (double v = side > 0 ? 0 : -0.5; std::abs(v) <= reach; v += side * 0.5) {
        if (!inPiece(ax - v * best->uy, ay + v * best->ux)) break;
        w += 0.5;
      }
    return w;
  };
  double ends[2] = {0, 0};
  const double longest = std::hypot(s.w, s.h);
  auto walk = [&] {
    const double middle = std::max(widthAt(0), 2 * best->depth);
    for (int side = 0; side < 2; ++side) {
      const double dir = side == 0 ? -1 : 1;
      int misses = 0;
      for (double t = 0; t < longest; t += 0.5) {
        if (widthAt(dir * t) >= kCapWidthShare * middle) {
          ends[side] = dir * t, misses = 0;
        } else if (++misses > 2 * best->depth) {  // a band or a gap the mask missed is no end
          break;
        }
      }
    }
    return middle;
  };
  walk();
  // The axis once more, through the middles of the body's cross-sections between the ends (a
  // least-squares line): the moments of a piece lean when a band the colour of the background or
  // the glare stripe has cut some of it away, the cross-sections' middles do not.
  Piece whole = *best;
  double st = 0, sm = 0, stt = 0, stm = 0, count = 0;
  const double reach2 = 2 * best->depth + 2;
  for (int k = 1; k < kStations; ++k) {
    const double t = ends[0] + (ends[1] - ends[0]) * k / kStations;
    const double ax = best->cx + t * best->ux, ay = best->cy + t * best->uy;
    double lo = 1e9, hi = -1e9;
    for (double v = -reach2; v <= reach2; v += 0.5)
      if (inPiece(ax - v * best->uy, ay + v * best->ux)) lo = std::min(lo, v), hi = std::max(hi, v);
    if (hi < lo) continue;
    const double m = (lo + hi) / 2;
    st += t, sm += m, stt += t * t, stm += t * m, count += 1;
  }
  if (count >= 3 && stt * count - st * st > 1e-9) {
    const double slope = (count * stm - st * sm) / (count * stt - st * st);
    const double offset = (sm - slope * st) / count;
    whole.cx = best->cx - offset * best->uy, whole.cy = best->cy + offset * best->ux;
    const double dx = best->ux - slope * best->uy, dy = best->uy + slope * best->ux, norm = std::hypot(dx, dy);
    whole.ux = dx / norm, whole.uy = dy / norm;
    best = &whole;
    ends[0] = ends[1] = 0;
  }
  const double middle = walk();
  FoundBody found;
  auto toPhoto = [&](double t) {
    return PhotoPoint{(best->cx + t * best->ux + 0.5) * s.scaleX, (best->cy + t * best->uy + 0.5) * s.scaleY};
  };
  found.line = {toPhoto(ends[0] - 0.5), toPhoto(ends[1] + 0.5)};
  found.halfWidth = middle / 2 * std::sqrt(s.scaleX * s.scaleY);
  if (ends[1] - ends[0] < kLeastLengthPerWidth * middle) return std::nullopt;
  return found;
}

}  // namespace

bool wellFormed(const RgbImage& photo) {
  return photo.width > 0 && photo.height > 0 && photo.width <= (1 << 15) && photo.height <= (1 << 15) &&
         photo.rgb.size() == static_cast<std::size_t>(photo.width) * static_cast<std::size_t>(photo.height) * 3;
}

std::optional<FoundBody> findBody(const RgbImage& photo) {
  if (!wellFormed(photo) || photo.width < 8 || photo.height < 8) return std::nullopt;
  const Small s = shrink(photo);
  const std::vector<Lab> background = backgroundColours(s);
  if (background.empty()) return std::nullopt;
  const std::vector<double> apart = apartFromSurroundings(s, background);
  const double threshold = std::clamp(otsu(apart), kLeastThreshold, kMostThreshold);
  std::vector<std::uint8_t> mask(apart.size());
  for (std::size_t i = 0; i < apart.size(); ++i) mask[i] = apart[i] > threshold;
  close(mask, s.w, s.h, kClosing * std::min(s.w, s.h));
  const std::vector<double> depth = depthInside(mask, s.w, s.h);

  // The pieces of the mask, each with a score: a thick, elongated core near the middle of the photo.
  std::vector<int> label(mask.size(), -1);
  std::vector<Piece> pieces;
  std::vector<int> stack;
  for (std::size_t start = 0; start < mask.size(); ++start) {
    if (depth[start] < kThick || label[start] >= 0) continue;
    Piece p;
    const int id = static_cast<int>(pieces.size());
    stack.assign(1, static_cast<int>(start));
    label[start] = id;
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      p.pixels.push_back(i);
      p.depth = std::max(p.depth, depth[static_cast<std::size_t>(i)]);
      const int x = i % s.w, y = i / s.w;
      const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
      for (const auto& q : next) {
        if (q[0] < 0 || q[1] < 0 || q[0] >= s.w || q[1] >= s.h) continue;
        const std::size_t j =
            static_cast<std::size_t>(q[1]) * static_cast<std::size_t>(s.w) + static_cast<std::size_t>(q[0]);
        if (depth[j] >= kThick && label[j] < 0) label[j] = id, stack.push_back(static_cast<int>(j));
      }
    }
    if (p.depth >= kLeastDepth) {
      const double shape = axisOf(p, depth, s.w);
      // Pieces whose core lies against the photo's edge are background more often than a body.
      const double fromMiddle = std::hypot((p.cx - s.w / 2.0) / s.w, (p.cy - s.h / 2.0) / s.h);
      bool onEdge = false;
      for (int i : p.pixels)
        if (depth[static_cast<std::size_t>(i)] >= kCoreDepth * p.depth) {
          const int x = i % s.w, y = i / s.w;
          onEdge = onEdge || x == 0 || y == 0 || x == s.w - 1 || y == s.h - 1;
        }
      p.score = shape * std::exp(-fromMiddle * fromMiddle / (2 * kMiddleSpread * kMiddleSpread));
      if (onEdge) p.score *= 0.2;
      // A piece centred at the photo's very edge is a tray's rim or a shadow, not a part in view.
      if (std::min({p.cx, p.cy, s.w - 1 - p.cx, s.h - 1 - p.cy}) < kEdgeBand * std::min(s.w, s.h)) p.score *= 0.05;
    }
    pieces.push_back(std::move(p));
  }
  // The likeliest pieces in turn: one whose ends are no further apart than it is wide is a blob
  // (a lamp's reflection, a speck), not a body.
  std::vector<const Piece*> order;
  for (const Piece& p : pieces)
    if (p.score > 0) order.push_back(&p);
  std::sort(order.begin(), order.end(), [](const Piece* a, const Piece* b) { return a->score > b->score; });
  for (std::size_t i = 0; i < order.size() && i < kPiecesTried; ++i)
    if (std::optional<FoundBody> found = bodyAlong(s, mask, *order[i])) return found;
  return std::nullopt;
}

std::optional<BodyLine> proposeLine(const RgbImage& photo) {
  const std::optional<FoundBody> body = findBody(photo);
  return body ? std::optional<BodyLine>(body->line) : std::nullopt;
}

}  // namespace kalvori
