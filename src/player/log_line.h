// The program's one way of saying, on standard error, what the user was not shown: a file not
// played and why, a request answered with nothing. One line each, starting "Kalvori: ".
//
// What it deliberately does not do: show anything in the window, keep a log file, or filter by
// level (every line it is given is worth one line).
#pragma once

#include <functional>
#include <string>

namespace kalvori {

// Writes "Kalvori: " and `line` as one line; callable from any thread.
void logLine(const std::string& line);

// Replaces where the lines go, and returns what did it before (none given: standard error): tests
// read the lines a case leaves.
using LogSink = std::function<void(const std::string& line)>;
LogSink replaceLogSink(LogSink sink);

}  // namespace kalvori
