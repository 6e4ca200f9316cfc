// Reading a resistor's bands from a photo: propose the body's axis, sample a strip along it across
// the body's middle (leaving out the glare stripe), take the body's own colour as the white
// reference, split the strip into bands and gaps, name each band's colour, and rank the readings of
// both directions and of every band count by how likely they are. When the photo cannot be read
// (a band too narrow to see, too dark, washed out by glare, no body found) it says why instead of
// guessing.
//
// What it deliberately does not do: decode files, know Qt, or press any button (the desktop turns a
// chosen reading into presses; the terminal prints it).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "marking/band_colour.h"
#include "marking/quantity.h"
#include "photo/body_line.h"
#include "photo/rgb_image.h"

namespace kalvori {

// Why a photo gave no reading.
enum class PhotoRefusal {
  None,
  NoBody,    // no resistor body found (without a line), or the line leaves the photo
  TooSmall,  // bands too few pixels wide: come closer or use a magnifier
  TooDark,
  Glare,     // washed out by glare
  NoBands,   // no run of three to six bands along the line
  Unsure,    // bands seen, but no reading is likely enough to show
};

// A band as seen along the line, before any reading order: where it lies (0 at line.from, 1 at
// line.to), the colour it looks most like, and the others it could be, likeliest first.
struct SeenBand {
  double from = 0;
  double to = 0;
  std::vector<Band> colours;  // at least one
  std::vector<double> odds;   // beside colours: how likely each is, 0 to 1
  double strangeness = 0;     // how far the colour is from every known paint, in its spreads
  std::array<double, 3> lab{};  // its colour in CIELAB, once the body's paint set the light
};

// One reading of the bands: the colours in reading order, what they mean and how sure it is.
struct BandReading {
  std::vector<Band> bands;   // 3 to 6, in reading order
  bool reversed = false;     // read from line.to towards line.from
  Decimal ohms;
  std::optional<Tolerance> tolerance;  // none for three bands (±20 %)
  std::optional<int> tempco;           // ppm/K, from a sixth band
  double score = 0;                    // 0 to 1: the reading's share of all readings weighed
  friend bool operator==(const BandReading&, const BandReading&) = default;
};

struct PhotoAnswer {
  BodyLine line;               // the line read along (the proposed one when none was given)
  bool lineProposed = false;   // whether the reader proposed it
  std::vector<SeenBand> seen;  // along the line, from line.from
  std::vector<BandReading> readings;  // up to three, best first; empty when refused
  PhotoRefusal refusal = PhotoRefusal::None;
  std::string why;  // for a refusal: what to do, in Chinese, one line
};

// The body's axis from end cap to end cap, or none when no body stands out from the background.
std::optional<BodyLine> proposeLine(const RgbImage& photo);

// Reads along `line`, or along the proposed line when none is given. Never throws; any image, any
// line (outside the photo, of zero length) gets an answer.
PhotoAnswer readPhoto(const RgbImage& photo, std::optional<BodyLine> line = std::nullopt);

// What bands in reading order mean: value, tolerance and tempco of 3 to 6 bands, or none when no
// resistor has these bands (a gold first digit, a white multiplier band with no digits, ...). The
// score is left at 0. Used when the user changes a band's colour or turns the reading round.
std::optional<BandReading> readingOfBands(const std::vector<Band>& bands);

// The body along the line, straightened: `height` rows across the body's middle, one column a
// pixel of the line's length (at most `maxWidth`), from line.from to line.to. For drawing the
// readings over the photo.
RgbImage straightStrip(const RgbImage& photo, const BodyLine& line, int height, int maxWidth);

// The band's colour name as IEC 60062 spells it, lower case: "black" … "white", "gold", "silver".
std::string_view iecColourName(Band band);

// {"readings": [{"bands": [...], "value": 33, "unit": "Ω", "tolerance": {"minus": 5, "plus": 5,
// "unit": "%"}, "score": 0.8}, ...], "line": [x1, y1, x2, y2], "refusal": null}: values in ohms as
// plain numbers, readings best first; "tolerance" null for three bands; a refusal's text is `why`.
std::string photoJson(const PhotoAnswer& answer);

}  // namespace kalvori
