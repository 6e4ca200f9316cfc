// The line a photo is read along: the body's axis from one end cap to the other, in the photo's
// pixels (0,0 the top-left corner of the top-left pixel). Proposed by the reader or drawn by the
// user; everything read from a photo depends only on the photo and this line.
#pragma once

namespace kalvori {

struct PhotoPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const PhotoPoint&, const PhotoPoint&) = default;
};

struct BodyLine {
  PhotoPoint from;
  PhotoPoint to;
  friend bool operator==(const BodyLine&, const BodyLine&) = default;
};

}  // namespace kalvori
