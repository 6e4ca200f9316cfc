// The body along a line, straightened: samples in rows parallel to the line, across the body's
// middle, in linear light; then one colour a column from the rows the glare stripe leaves alone,
// and how much each column's lightness varies across the body (metal paint shines in a narrow
// stripe and is dark beside it, lacquered colours vary gently).
//
// What it deliberately does not do: decide where the body is or what a colour is.
#pragma once

#include <vector>

#include "photo/body_line.h"
#include "photo/lab_colour.h"
#include "photo/rgb_image.h"

namespace kalvori {

struct BodyStrip {
  int columns = 0, rows = 0;
  double pixelsPerColumn = 1;  // photo pixels along the line per column
  std::vector<LinearRgb> px;   // rows × columns, row by row, from one side of the body to the other
  const LinearRgb& at(int column, int row) const {
    return px[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
  }
};

// `rows` rows spread over ±halfSpan photo pixels across the line; a column a pixel of the line's
// length, at most maxColumns. Samples outside the photo take its nearest edge pixel.
BodyStrip sampleStrip(const RgbImage& photo, const BodyLine& line, double halfSpan, int rows, int maxColumns);

struct StripColumns {
  std::vector<LinearRgb> colour;  // a column's mean over the rows kept
  std::vector<double> sheen;      // a column's spread of luminance across all rows
  int rowsKept = 0;
  double clippedShare = 0;  // of all samples, those clipped white (every channel at full scale)
};

// Leaves out the rows of the glare stripe: those far brighter than the body's other rows.
StripColumns columnsOf(const BodyStrip& strip);

}  // namespace kalvori
