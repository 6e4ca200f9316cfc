#include "photo/lab_colour.h"

#include <array>
#include <cmath>

namespace kalvori {

namespace {

double decode(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

const std::array<double, 256>& byteTable() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> t{};
    for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = decode(i / 255.0);
    return t;
  }();
  return table;
}

// The CIELAB companding of a tristimulus ratio.
double f(double t) { return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0; }

}  // namespace

double linearOfByte(std::uint8_t v) { return byteTable()[v]; }

std::uint8_t byteOfLinear(double v) {
  if (!(v > 0)) return 0;
  if (v >= 1) return 255;
  const double s = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
  return static_cast<std::uint8_t>(std::lround(s * 255));
}

LinearRgb linearOfSrgb(int r, int g, int b) { return {decode(r / 255.0), decode(g / 255.0), decode(b / 255.0)}; }

Lab labOf(const LinearRgb& c) {
  // sRGB primaries to XYZ, relative to the D65 white.
  const double x = (0.4124 * c.r + 0.3576 * c.g + 0.1805 * c.b) / 0.95047;
  const double y = 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
  const double z = (0.0193 * c.r + 0.1192 * c.g + 0.9505 * c.b) / 1.08883;
  const double fx = f(x), fy = f(y), fz = f(z);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double labDistance(const Lab& x, const Lab& y, double lightWeight) {
  const double dl = (x.L - y.L) * lightWeight, da = x.a - y.a, db = x.b - y.b;
  return std::sqrt(dl * dl + da * da + db * db);
}

double chromaOf(const Lab& c) { return std::hypot(c.a, c.b); }

}  // namespace kalvori
