// What the fuzz targets share: a reader that takes the input bytes apart, and the check that turns
// a broken rule into a crash the fuzzer keeps (and that the replay of kept cases reports).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kalvori::fuzz {

// Hands out the input a byte or a run of bytes at a time; past the end it gives zeros and empty
// runs, so that any input at all is a valid description.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  std::uint8_t byte() { return done() ? 0 : data_[pos_++]; }
  // A pick among `count` things (count > 0).
  std::size_t pick(std::size_t count) { return byte() % count; }
  // Up to `maxLength` bytes, the length taken from the input first.
  std::string bytes(std::size_t maxLength) {
    std::string out;
    for (std::size_t n = pick(maxLength + 1); n > 0 && !done(); --n) out += static_cast<char>(byte());
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Bytes as C would write them, so that names with newlines or invalid UTF-8 show in a report.
inline std::string escaped(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

// A broken rule: says which, and aborts, which the fuzzer records as a crash with its input.
[[noreturn]] inline void fail(const std::string& what) {
  std::fprintf(stderr, "broken: %s\n", what.c_str());
  std::abort();
}
inline void check(bool holds, const std::string& what) {
  if (!holds) fail(what);
}

}  // namespace kalvori::fuzz
