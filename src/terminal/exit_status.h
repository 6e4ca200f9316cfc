// The exit statuses of the terminal's answers, as the man page lists them.
//
// What it deliberately does not do: decide which one applies (each command does).
#pragma once

namespace kalvori::terminal {

inline constexpr int kAllRead = 0;
inline constexpr int kSomeRefused = 1;  // also: blank text given alone, and a photo read without a reading
inline constexpr int kUsageOrIoError = 2;  // also: a photo file that cannot be opened or is no image

}  // namespace kalvori::terminal
