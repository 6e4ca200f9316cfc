// From bands seen along the line to readings: every order (both directions) and every likely
// colour of each band, weighed by how well the colours fit, whether the last band is the kind a
// tolerance band is (and stands apart behind the widest gap), and whether the value is one
// resistors are made in (E24 for ±5 %, E96 and E192 for ±1 % and finer, E12 for ±20 %). Readings
// of the same value and tolerance are one; each gets its share of the weight of all.
//
// What it deliberately does not do: look at the photo, or refuse (the reader decides how sure is
// sure enough).
#pragma once

#include <vector>

#include "photo/photo_reading.h"

namespace kalvori {

// All readings of the seen bands, best first, each scored with its share of the total weight.
std::vector<BandReading> rankReadings(const std::vector<SeenBand>& seen);

}  // namespace kalvori
