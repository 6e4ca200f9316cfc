// Colours as the reader measures them: sRGB bytes taken back to linear light (where a change of
// light or a white-balance cast is a gain per channel), and CIELAB (where distances are roughly
// what the eye sees as different), under D65.
//
// What it deliberately does not do: know any paint or band (band_paints does), or convert back to
// bytes beyond what drawing a strip needs.
#pragma once

#include <cstdint>

namespace kalvori {

struct LinearRgb {
  double r = 0, g = 0, b = 0;
};

struct Lab {
  double L = 0, a = 0, b = 0;
};

// One sRGB byte as linear light, 0 to 1 (a table: it is called for every pixel read).
double linearOfByte(std::uint8_t v);
inline LinearRgb linearOf(const std::uint8_t* rgb) {
  return {linearOfByte(rgb[0]), linearOfByte(rgb[1]), linearOfByte(rgb[2])};
}
std::uint8_t byteOfLinear(double v);

// Relative luminance, 0 to 1.
inline double luminance(const LinearRgb& c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }

Lab labOf(const LinearRgb& c);
LinearRgb linearOfSrgb(int r, int g, int b);

// CIE76 distance, with lightness counted `lightWeight` times: shading and highlights on a
// cylinder change lightness far more than they change hue.
double labDistance(const Lab& x, const Lab& y, double lightWeight = 1.0);
double chromaOf(const Lab& c);

}  // namespace kalvori
