// Photos of a resistor painted for the photo reader's tests and benchmark: a body with bulged caps
// and leads, its bands in paints like real ones (not the reader's own table), on a background, under
// a given light level and colour cast, with a glare stripe, blur and noise, turned and placed
// anywhere. The same scene and seed always give the same bytes.
//
// What it deliberately does not do: compress (JPEG's blocks are left to tests that have Qt), or
// draw shadows and reflections of the surroundings.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "marking/band_colour.h"
#include "photo/body_line.h"
#include "photo/rgb_image.h"

namespace kalvori::test {

enum class BodyPaintKind { Beige, Blue, Green };

struct ResistorScene {
  std::vector<Band> bands;  // in reading order, from the body's `from` end
  int width = 640, height = 480;
  double cx = 320, cy = 240;  // the body's centre
  double angle = 0;           // radians, the reading direction against the x axis
  double length = 220;        // the body's length in pixels, cap to cap
  double thickness = 0.36;    // the body's diameter as a share of its length
  double bandWidth = 0;       // a share of the length; 0: 0.075 for up to four bands, 0.06 above
  BodyPaintKind body = BodyPaintKind::Beige;
  std::array<int, 3> background{200, 205, 212};
  double light = 1;                     // exposure: 1 is a well-lit photo
  std::array<double, 3> cast{1, 1, 1};  // gains of red, green and blue: a lamp's colour
  double glare = 0.6;                   // the specular stripe's strength
  double glareAt = -0.35;               // where across the body it lies, -1 to 1
  double blur = 0.7;                    // box blur radius in pixels
  double noise = 2;                     // standard deviation in bytes
  std::uint32_t seed = 1;
};

RgbImage renderResistor(const ResistorScene& scene);
// The body's axis from cap to cap, from the first band's end.
BodyLine bodyLineOf(const ResistorScene& scene);

}  // namespace kalvori::test
