// What the program was asked on its command line: to open the window (the arguments then belong to
// Qt, which takes its own, such as -platform and -style), to look a print up in the terminal, to
// read a resistor's bands from a photo in the terminal, to print its help or its version, or
// nothing sensible (a usage error, said in one line).
//
// Ours are --lookup, --mode, --photo, --line, --json, --help (-h) and --version, each also as
// --name=value; anything else is left to Qt when the window opens, and is an error next to --lookup
// or --photo, which open nothing. --mode next to --photo is an error rather than ignored: a photo is
// only ever read as a resistor's colour bands, and a mode the user gave must not look as if it
// counted.
//
// What it deliberately does not do: print, read or look anything up. It only sorts the arguments.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "photo/body_line.h"

namespace kalvori::terminal {

struct CommandLine {
  enum class Asks { Window, Lookup, Photo, Help, Version, UsageError };
  Asks asks = Asks::Window;
  std::string text;  // --lookup's text; "-" reads one print a line from standard input
  std::string mode;  // one of kModes' names; the window's starting mode unless --mode named another
  std::string photo;  // --photo's file name, bytes as given; "-" reads the image from standard input
  std::optional<BodyLine> line;  // --line: the photo's pixels, after turning it upright
  bool json = false;
  std::string error;  // for UsageError: what is wrong, in one line without the program's name
};

// `args` without the program's name.
CommandLine readCommandLine(std::span<const std::string_view> args);

// "X1,Y1,X2,Y2": four numbers (decimals allowed, blanks around them ignored, a full-width comma as
// good as a comma), or none when the text is not that.
std::optional<BodyLine> readBodyLine(std::string_view text);

// The help printed by --help, and the line a usage error ends with.
std::string helpText();
inline constexpr std::string_view kSeeHelp = "请用“kalvori --help”查看用法。";

}  // namespace kalvori::terminal
