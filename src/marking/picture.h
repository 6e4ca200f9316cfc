// What a part's marking looks like, for drawing it beside the words of an answer: a body with its
// colour bands in reading order (resistors with three to six bands, inductors), or a code as it
// stands printed on a chip or a capacitor ("472", "104K", "2A104J"). Each band carries its colour
// as the window paints its swatches (0x00BBGGRR) and its Chinese name, so that the drawing needs no
// table of its own.
//
// What it deliberately does not do: choose which marking of a reading is drawn (the look-up does),
// or know how to paint (the desktop does).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "marking/band_colour.h"

namespace kalvori {

struct PaintedBand {
  BandRgb colour;         // as the window's swatch of that colour
  std::string_view name;  // "黄"
  friend bool operator==(const PaintedBand&, const PaintedBand&) = default;
};

struct MarkingPicture {
  enum class Body {
    Resistor,      // a through-hole resistor with colour bands
    Inductor,      // a colour-coded inductor, its bands on a fatter body
    ChipResistor,  // a black chip with a white code
    Capacitor,     // a disc, film, electrolytic or tantalum body with its printed lines
  };
  Body body = Body::Resistor;
  std::vector<PaintedBand> bands;  // banded bodies, in reading order
  std::vector<std::string> lines;  // printed bodies: each line as printed, top first
  friend bool operator==(const MarkingPicture&, const MarkingPicture&) = default;
};

}  // namespace kalvori
