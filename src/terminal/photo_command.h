// A resistor's bands read from a photo, in a terminal: `kalvori --photo FILE [--line X1,Y1,X2,Y2]`
// decodes the file (or, for "-", the image's bytes on standard input), reads it along the line
// given or the one the reader proposes, and prints every reading, best first, one a line, then the
// line it read along; or, for a photo that gives no reading, why. With `json`, photoJson's one
// line instead.
//
// A file that cannot be opened or is no image is an error of the command, not an answer: its
// reason goes to standard error and nothing to standard output. The image plugins' warnings through
// Qt (a corrupt JPEG's) are not passed on: the one line that says why stands for them. (libpng
// writes a broken PNG's error to standard error itself; that line is left, before the program's.)
//
// What it deliberately does not do: decode (photo_file does), read bands (photo does) or look at
// the command line. It needs no display and starts no QGuiApplication.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "photo/body_line.h"
#include "photo/photo_reading.h"
#include "terminal/exit_status.h"

namespace kalvori::terminal {

struct PhotoRequest {
  std::string path;  // bytes as the file system has them; "-": the image from `in`
  std::optional<BodyLine> line;
  bool json = false;
};

// Writes the answer to `out`, or the reason to `err`; returns the exit status: kAllRead with a
// reading, kSomeRefused without, kUsageOrIoError when there was no image to read.
int answerPhoto(const PhotoRequest& request, std::FILE* in, std::FILE* out, std::FILE* err);

// The plain answer, its lines without the last line feed:
//   1. 橙 橙 黑 金  33 Ω ±5%  把握 0.80
//   沿自动找到的线 (12,40)–(300,42) 读
std::string photoWords(const PhotoAnswer& answer);

}  // namespace kalvori::terminal
