#include "photo/photo_reading.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "photo/band_paints.h"
#include "photo/band_readings.h"
#include "photo/band_split.h"
#include "photo/body_strip.h"
#include "photo/lab_colour.h"
#include "photo/line_proposal.h"
#include "photo/white_balance.h"

namespace kalvori {

namespace {

// Rows across the body's middle, over this share of its half-width: the caps' curve and the
// body's edges, where the colours darken, stay out.
constexpr int kRows = 15;
constexpr double kRowSpan = 0.55;
// Without a measured body, its half-width from the line's length: a quarter-watt body is about a
// third as thick as it is long.
constexpr double kHalfWidthPerLength = 0.17;
constexpr int kMostColumns = 480;

constexpr double kShortestLine = 24;    // photo pixels
constexpr double kNarrowestBand = 2.5;  // photo pixels: fewer and blur mixes a band with the body
constexpr double kDarkestBody = 0.02;   // luminance: a beige body this dark is lost in noise
constexpr double kMostClipped = 0.3;    // share of the strip clipped white
// A line may start a little outside the photo (a drag that overshot); more than this share of the
// photo's size and it is not on the photo.
constexpr double kOverreach = 0.05;

// The readings shown: up to three, each scored at least this.
constexpr std::size_t kMostReadings = 3;
constexpr double kLeastShown = 0.03;
// Below this score the best reading is a guess: refuse rather than mislead. Over photos as other
// cameras, lights, scales and backgrounds give them, a first reading scored under 0.3 was right
// about a third of the time, from 0.5 on nine times in ten and more.
constexpr double kLeastBest = 0.25;
// A band's own colour: its columns at least this share as far from the body as its furthest,
// lightness counted this much (the glare stripe's remains change it more than the paint does).
constexpr double kOwnColourShare = 0.7;
constexpr double kBandLightWeight = 0.6;
// A band further than this from every paint, in its spreads, is a colour the reader does not know.
constexpr double kStrangest = 3.5;

const std::array<const char*, 7> kWhy{
    "",
    "找不到电阻：请沿电阻画一条线，从一端到另一端",
    "色环太窄，看不清：请靠近些拍，或用放大镜",
    "照片太暗：请补光再拍",
    "反光太强，色环看不清：请换个角度拍",
    "沿这条线找不到三到六条色环",
    "色环看不准，不敢猜：请换个光线或角度再拍",
};

PhotoAnswer refused(PhotoAnswer a, PhotoRefusal why) {
  a.refusal = why;
  a.why = kWhy[static_cast<std::size_t>(why)];
  a.readings.clear();
  return a;
}

bool finite(const BodyLine& l) {
  return std::isfinite(l.from.x) && std::isfinite(l.from.y) && std::isfinite(l.to.x) && std::isfinite(l.to.y);
}

bool onPhoto(const PhotoPoint& p, const RgbImage& photo) {
  const double mx = kOverreach * photo.width, my = kOverreach * photo.height;
  return p.x >= -mx && p.y >= -my && p.x <= photo.width + mx && p.y <= photo.height + my;
}

double medianOf(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

// The bands as seen under one hypothesis of the body's paint, and how well they fit it.
struct Hypothesis {
  std::vector<SeenBand> seen;
  double fit = 0;
  double bandPixels = 0;  // the median band's width in photo pixels
};

// Where the bands are does not depend on which paint the body is: the strip is split once, with the
// light set by the commonest body paint, and each hypothesis names the same bands' colours.
std::vector<BandRun> bandsOf(const StripColumns& cols, const BodyColour& body) {
  const Gains gains = gainsFor(body.colour, bodyPaints().front());
  std::vector<Lab> lab(cols.colour.size());
  for (std::size_t i = 0; i < lab.size(); ++i) lab[i] = labOf(gains(cols.colour[i]));
  return splitBands(lab, labOf(gains(body.colour)));
}

Hypothesis seeUnder(const StripColumns& cols, const BodyColour& body, const std::vector<BandRun>& runs,
                    const BodyPaint& paint, double pixelsPerColumn) {
  Hypothesis h;
  const Gains gains = gainsFor(body.colour, paint);
  std::vector<double> bodyShine;
  for (std::size_t i = 0; i < cols.sheen.size(); ++i)
    if (body.isBody[i]) bodyShine.push_back(cols.sheen[i]);
  const double shineOfBody = std::max(medianOf(bodyShine), 1e-3 * luminance(body.colour) + 1e-6);
  const double n = static_cast<double>(cols.colour.size());
  const Lab bodyLab = labOf(gains(body.colour));
  double logFit = 0;
  std::vector<double> widths;
  for (const BandRun& r : runs) {
    // The band's own colour is where it stands furthest from the body: its edges, and the whole of
    // a band only a few pixels wide, are mixed with the body by blur and by JPEG's coarser colour.
    // The columns within reach of the furthest are averaged (one column alone is noisy).
    const int w = r.to - r.from;
    std::vector<double> apart(static_cast<std::size_t>(w));
    double furthest = 0;
    for (int c = r.from; c < r.to; ++c) {
      const Lab lab = labOf(gains(cols.colour[static_cast<std::size_t>(c)]));
      apart[static_cast<std::size_t>(c - r.from)] = labDistance(lab, bodyLab, kBandLightWeight);
      furthest = std::max(furthest, apart[static_cast<std::size_t>(c - r.from)]);
    }
    LinearRgb sum;
    std::vector<double> shine;
    for (int c = r.from; c < r.to; ++c)
      if (apart[static_cast<std::size_t>(c - r.from)] >= kOwnColourShare * furthest) {
        const LinearRgb& p = cols.colour[static_cast<std::size_t>(c)];
        sum.r += p.r, sum.g += p.g, sum.b += p.b;
        shine.push_back(cols.sheen[static_cast<std::size_t>(c)]);
      }
    const double kept = static_cast<double>(shine.size());
    const Lab seenLab = labOf(gains({sum.r / kept, sum.g / kept, sum.b / kept}));
    double nearest = 0;
    const ColourOdds odds = colourOdds(seenLab, medianOf(shine) / shineOfBody, nearest);
    SeenBand band;
    band.from = r.from / n, band.to = r.to / n;
    band.strangeness = nearest;
    band.lab = {seenLab.L, seenLab.a, seenLab.b};
    std::array<std::size_t, kBandCount> order{};
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return odds[a] > odds[b]; });
    for (std::size_t i : order) {
      if (!band.colours.empty() && odds[i] < 0.01) break;
      band.colours.push_back(static_cast<Band>(i));
      band.odds.push_back(odds[i]);
    }
    h.seen.push_back(std::move(band));
    logFit += -0.5 * nearest * nearest;
    widths.push_back(w * pixelsPerColumn);
  }
  h.bandPixels = medianOf(widths);
  // How common the paint is, times how likely the light's cast is, times how well the bands fit
  // their nearest paints (the mean of their log-likelihoods: every hypothesis names the same bands).
  h.fit = paint.share * gains.castPrior * std::exp(h.seen.empty() ? 0 : logFit / static_cast<double>(h.seen.size()));
  return h;
}

}  // namespace

PhotoAnswer readPhoto(const RgbImage& photo, std::optional<BodyLine> line) {
  PhotoAnswer a;
  a.lineProposed = !line;
  if (line) a.line = *line;
  if (!wellFormed(photo)) {
    a.why = "照片是空的：请重新拍一张";
    a.refusal = PhotoRefusal::NoBody;
    return a;
  }
  double halfWidth = 0;
  if (!line) {
    const std::optional<FoundBody> body = findBody(photo);
    if (!body) return refused(a, PhotoRefusal::NoBody);
    a.line = body->line;
    halfWidth = body->halfWidth;
  }
  if (!finite(a.line) || !onPhoto(a.line.from, photo) || !onPhoto(a.line.to, photo))
    return refused(a, PhotoRefusal::NoBody);
  const double length = std::hypot(a.line.to.x - a.line.from.x, a.line.to.y - a.line.from.y);
  if (length < 1) return refused(a, PhotoRefusal::NoBody);
  if (length < kShortestLine) return refused(a, PhotoRefusal::TooSmall);
  if (halfWidth <= 0) halfWidth = kHalfWidthPerLength * length;

  const BodyStrip strip = sampleStrip(photo, a.line, kRowSpan * halfWidth, kRows, kMostColumns);
  const StripColumns cols = columnsOf(strip);
  if (cols.colour.empty()) return refused(a, PhotoRefusal::NoBody);
  const BodyColour body = commonColour(cols.colour);
  if (luminance(body.colour) < kDarkestBody) return refused(a, PhotoRefusal::TooDark);
  if (cols.clippedShare > kMostClipped) return refused(a, PhotoRefusal::Glare);

  const std::vector<BandRun> runs = bandsOf(cols, body);
  Hypothesis best;
  for (const BodyPaint& paint : bodyPaints()) {
    Hypothesis h = seeUnder(cols, body, runs, paint, strip.pixelsPerColumn);
    if (h.fit > best.fit || best.seen.empty()) best = std::move(h);
  }
  a.seen = best.seen;
  if (a.seen.size() < 3 || a.seen.size() > 7) {  // seven: one may be a highlight
    if (!a.seen.empty() && best.bandPixels < kNarrowestBand) return refused(a, PhotoRefusal::TooSmall);
    // No bands along a line the reader proposed: more likely it found something else than the body
    // (a body the colour of the desk stands out by its bands only). The user is asked for a line.
    return refused(a, a.lineProposed ? PhotoRefusal::NoBody : PhotoRefusal::NoBands);
  }
  if (best.bandPixels < kNarrowestBand) return refused(a, PhotoRefusal::TooSmall);
  for (const SeenBand& b : a.seen)
    if (b.strangeness > kStrangest) return refused(a, PhotoRefusal::Unsure);
  std::vector<BandReading> all = rankReadings(a.seen);
  if (all.empty() || all.front().score < kLeastBest) return refused(a, PhotoRefusal::Unsure);
  for (const BandReading& r : all)
    if (a.readings.size() < kMostReadings && r.score >= kLeastShown) a.readings.push_back(r);
  return a;
}

}  // namespace kalvori
