// A photo as the reader sees it: 8-bit sRGB, three bytes a pixel, rows top to bottom with no
// padding. Whatever decoded it (a file, the clipboard, a camera) has already turned it upright and
// into sRGB.
//
// What it deliberately does not do: decode, convert or own anything beyond its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kalvori {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width × height × 3 bytes: R, G, B

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3) {}

  bool empty() const { return width <= 0 || height <= 0; }
  const std::uint8_t* pixel(int x, int y) const {
    return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  }
  std::uint8_t* pixel(int x, int y) {
    return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  }
};

}  // namespace kalvori
