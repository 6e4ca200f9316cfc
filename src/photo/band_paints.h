// What the band paints look like once the photo's light has been set by the body (white balance
// and exposure taken from the body's own paint): a CIELAB colour and how far a real band of that
// paint strays from it, a table; and the odds of each colour for a band as seen.
//
// What it deliberately does not do: correct the light (white_balance does) or weigh readings.
#pragma once

#include <array>
#include <span>

#include "marking/band_colour.h"
#include "photo/lab_colour.h"

namespace kalvori {

struct BandPaint {
  Band band;
  Lab lab;        // as seen on a body whose own paint shows its reference colour
  double spread;  // typical distance of a real band from it (paint batches, shading, blur)
  bool metallic;  // gold and silver: a pigment of metal flakes that shines narrowly
};

std::span<const BandPaint> bandPaints();

using ColourOdds = std::array<double, kBandCount>;  // indexed by Band, summing to 1

// The odds of each colour for a band seen as `lab`, whose brightness across the body spreads
// `shine` times as much as the body's own (metal shines in a narrow stripe and is dark beside it).
// `nearest` is set to the distance, in spreads, to the closest paint: far from every paint is a
// band the table does not know.
ColourOdds colourOdds(const Lab& lab, double shine, double& nearest);

}  // namespace kalvori
