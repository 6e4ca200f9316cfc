// Finding the resistor's body in a photo without a line: on a small copy, everything that differs
// from the colours around the photo's edge, the thick part of it (leads and tray edges are thin),
// the largest elongated piece near the middle, its long axis, and where along that axis the body's
// width ends (the caps) before the leads begin.
//
// What it deliberately does not do: read colours along the line, or find more than one resistor
// (the likeliest one wins).
#pragma once

#include <optional>

#include "photo/body_line.h"
#include "photo/rgb_image.h"

namespace kalvori {

struct FoundBody {
  BodyLine line;
  double halfWidth = 0;  // the body's half-width across the middle, in the photo's pixels
};

std::optional<FoundBody> findBody(const RgbImage& photo);

// Whether the image's fields agree with each other (a buffer of width × height × 3 bytes).
bool wellFormed(const RgbImage& photo);

}  // namespace kalvori
