// The body as the photo's white reference: its colour is the commonest along the strip, and the
// paints bodies come in (beige carbon film, light blue and green metal film) are known, so the
// gains that bring the body back to its paint (von Kries, one gain a channel in linear light) take
// out the light's colour cast and its level at once. Which paint the body is, is a hypothesis each
// reading tries.
//
// What it deliberately does not do: decide which hypothesis wins (the bands' fit does).
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "photo/lab_colour.h"

namespace kalvori {

struct BodyPaint {
  std::string_view name;
  LinearRgb reference;  // the paint in daylight
  double share = 1;     // how common the paint is among bodies, relative to the commonest
};
std::span<const BodyPaint> bodyPaints();

// The most common colour among the columns: the body between and beside the bands.
struct BodyColour {
  LinearRgb colour;
  std::vector<bool> isBody;  // which columns look like it
};
BodyColour commonColour(const std::vector<LinearRgb>& columns);

struct Gains {
  double r = 1, g = 1, b = 1;
  double castPrior = 1;  // how likely a cast this strong is, 1 for none
  LinearRgb operator()(const LinearRgb& c) const { return {c.r * r, c.g * g, c.b * b}; }
};
// The gains that show `seen` as `paint`, the cast between the channels held within what real
// light does (a lamp or a shade is never more than about 1.6 times bluer or redder).
Gains gainsFor(const LinearRgb& seen, const BodyPaint& paint);

}  // namespace kalvori
