#include "support/resistor_render.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "photo/lab_colour.h"

namespace kalvori::test {

namespace {

struct Rgb {
  double r = 0, g = 0, b = 0;
};

// sRGB bytes to linear light by the reader's table (the transfer function is the standard's, not
// something the tests check); back by a table of its own, which is faster per pixel than pow().
double decode(int v) { return linearOfByte(static_cast<std::uint8_t>(std::clamp(v, 0, 255))); }
Rgb linear(int r, int g, int b) { return {decode(r), decode(g), decode(b)}; }
constexpr int kEncodeSteps = 4096;
std::uint8_t encode(double v) {
  static const std::array<std::uint8_t, kEncodeSteps + 1> table = [] {
    std::array<std::uint8_t, kEncodeSteps + 1> t{};
    for (int i = 0; i <= kEncodeSteps; ++i) {
      const double l = static_cast<double>(i) / kEncodeSteps;
      const double s = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
      t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::lround(s * 255));
    }
    return t;
  }();
  return table[static_cast<std::size_t>(std::lround(std::clamp(v, 0.0, 1.0) * kEncodeSteps))];
}

// Band paints as sRGB in daylight, picked from photos of parts' lacquers; gold and silver are
// metal flake paints.
struct Paint {
  int r, g, b;
  bool metal;
};
constexpr Paint kPaints[kBandCount] = {
    {38, 36, 36, false},    {118, 66, 40, false},   {196, 38, 36, false}, {232, 118, 36, false},
    {236, 204, 44, false},  {44, 138, 72, false},   {30, 92, 172, false}, {128, 62, 150, false},
    {128, 128, 126, false}, {236, 234, 226, false}, {182, 146, 66, true}, {180, 180, 186, true},
};
constexpr Paint kBodies[3] = {{226, 196, 152, false}, {96, 156, 206, false}, {126, 184, 154, false}};
constexpr Paint kLead{170, 170, 172, true};

double bandWidthOf(const ResistorScene& s) {
  return s.bandWidth > 0 ? s.bandWidth : s.bands.size() <= 4 ? 0.075 : 0.06;
}

// Where each band starts along the body (0 to 1): digits and multiplier evenly from near the first
// cap, the tolerance band set apart near the other.
std::vector<double> bandStarts(const ResistorScene& s) {
  const double w = bandWidthOf(s);
  std::vector<double> out;
  const std::size_t n = s.bands.size();
  for (std::size_t i = 0; i < n; ++i) out.push_back(0.13 + static_cast<double>(i) * 1.9 * w);
  if (n >= 4) out.back() = 0.87 - w;
  return out;
}

// The body's half-width at u (0 to 1 along it), as a share of its length: bulged at the caps,
// rounded at the very ends.
double halfWidthAt(const ResistorScene& s, double u) {
  const double a = (u - 0.1) / 0.07, b = (u - 0.9) / 0.07;
  const double bump = std::exp(-a * a) + std::exp(-b * b);
  double h = s.thickness / 2 * (0.86 + 0.2 * bump);
  const double past = std::abs(u - 0.5) - 0.45;
  if (past > 0) h *= std::sqrt(std::max(0.0, 1 - (past / 0.05) * (past / 0.05)));
  return h;
}

}  // namespace

BodyLine bodyLineOf(const ResistorScene& s) {
  const double dx = std::cos(s.angle) * s.length / 2, dy = std::sin(s.angle) * s.length / 2;
  return {{s.cx - dx, s.cy - dy}, {s.cx + dx, s.cy + dy}};
}

RgbImage renderResistor(const ResistorScene& s) {
  const int w = std::max(1, s.width), h = std::max(1, s.height);
  std::vector<Rgb> img(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  const double ux = std::cos(s.angle), uy = std::sin(s.angle);
  const std::vector<double> starts = bandStarts(s);
  const double bw = bandWidthOf(s);
  const Rgb back = linear(s.background[0], s.background[1], s.background[2]);
  const Paint& bodyPaint = kBodies[static_cast<int>(s.body)];

  // The colour at a point: the body, a lead, or the background; 2×2 samples a pixel.
  auto shade = [&](double x, double y) -> Rgb {
    const double along = (x - s.cx) * ux + (y - s.cy) * uy, across = -(x - s.cx) * uy + (y - s.cy) * ux;
    const double u = along / s.length + 0.5;
    const double half = u >= 0 && u <= 1 ? halfWidthAt(s, u) * s.length : 0;
    Paint paint{};
    double v = 0;
    if (half > 0 && std::abs(across) < half) {
      paint = bodyPaint;
      for (std::size_t i = 0; i < starts.size(); ++i)
        if (u >= starts[i] && u < starts[i] + bw) paint = kPaints[static_cast<int>(s.bands[i])];
      v = across / half;
    } else if (std::abs(across) < 0.028 * s.length && (u < 0.5 ? u > -2 : u < 3)) {
      paint = kLead;
      v = across / (0.028 * s.length);
    } else {
      return back;
    }
    // A cylinder lit from the front and a little above: diffuse falls towards the edges; the
    // specular stripe is narrow, and narrower and stronger on metal.
    const double facing = std::sqrt(std::max(0.0, 1 - v * v));
    const double diffuse = (0.3 + 0.7 * facing) * (paint.metal ? 0.75 : 1.0) * (1 - 0.1 * v);
    const double width = paint.metal ? 0.1 : 0.16;
    const double off = (v - s.glareAt) / width;
    const double specular = s.glare * (paint.metal ? 1.6 : 0.8) * std::exp(-off * off);
    const Rgb p = linear(paint.r, paint.g, paint.b);
    return {p.r * diffuse + specular, p.g * diffuse + specular, p.b * diffuse + specular};
  };
  // Pixels well away from the axis are background: no need to sample them four times.
  const double far = (0.6 * s.thickness + 0.03) * s.length + 2;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (std::abs(-(x + 0.5 - s.cx) * uy + (y + 0.5 - s.cy) * ux) > far) {
        img[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] = back;
        continue;
      }
      Rgb sum;
      for (double dy : {0.25, 0.75})
        for (double dx : {0.25, 0.75}) {
          const Rgb c = shade(x + dx, y + dy);
          sum.r += c.r / 4, sum.g += c.g / 4, sum.b += c.b / 4;
        }
      img[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] = sum;
    }
  // Blur: a box, across then down.
  const int r = static_cast<int>(std::lround(s.blur));
  if (r > 0) {
    std::vector<Rgb> tmp(img.size());
    for (int pass = 0; pass < 2; ++pass) {
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          Rgb sum;
          int n = 0;
          for (int k = -r; k <= r; ++k) {
            const int xx = pass == 0 ? std::clamp(x + k, 0, w - 1) : x,
                      yy = pass == 1 ? std::clamp(y + k, 0, h - 1) : y;
            const Rgb& c =
                img[static_cast<std::size_t>(yy) * static_cast<std::size_t>(w) + static_cast<std::size_t>(xx)];
            sum.r += c.r, sum.g += c.g, sum.b += c.b, ++n;
          }
          tmp[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] = {
              sum.r / n, sum.g / n, sum.b / n};
        }
      img.swap(tmp);
    }
  }
  RgbImage out(w, h);
  std::mt19937 random(s.seed);
  // Box-Muller over the generator's raw numbers: the same noise on every standard library.
  auto gauss = [&] {
    const double a = (random() + 1.0) / 4294967297.0, b = random() / 4294967296.0;
    return std::sqrt(-2 * std::log(a)) * std::cos(2 * 3.141592653589793 * b);
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgb& c = img[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
      std::uint8_t* p = out.pixel(x, y);
      const double ch[3] = {c.r * s.light * s.cast[0], c.g * s.light * s.cast[1], c.b * s.light * s.cast[2]};
      for (int k = 0; k < 3; ++k) {
        const int v = encode(ch[k]) + static_cast<int>(std::lround(s.noise * gauss()));
        p[k] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
      }
    }
  return out;
}

}  // namespace kalvori::test
