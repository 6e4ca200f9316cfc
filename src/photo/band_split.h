// Splitting the straightened body into bands and the gaps between them: a column is band where its
// colour stands out from the body's by more than a threshold set from the strip itself (the bands'
// contrast varies with the light and the paints); runs broken by a gap too small to be a real one
// are joined, runs too narrow to be a band dropped, and those at the strip's very ends (the caps'
// edges, the background past a drawn line's end) left out.
//
// What it deliberately does not do: name colours or decide the reading order.
#pragma once

#include <vector>

#include "photo/lab_colour.h"

namespace kalvori {

struct BandRun {
  int from = 0, to = 0;  // columns [from, to)
};

std::vector<BandRun> splitBands(const std::vector<Lab>& columns, const Lab& body);

}  // namespace kalvori
