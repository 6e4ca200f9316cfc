// The look-up line's answers in a terminal: `kalvori --lookup TEXT` answers one print, and
// `kalvori --lookup -` answers standard input one line at a time, one answer a line, so that a
// parts list's column maps line for line onto its answers (a blank line gets a blank answer) and a
// script can hold the program open as a coprocess (each answer is flushed as it is written).
//
// An answer is the look-up line's text (from standard input, its lines joined by " | " to keep to
// one), or with `json` its JSON form, one object a line. Input is
// any bytes: a line longer than the reader takes, or not UTF-8, is answered with a refusal like any
// other text the reader does not understand; a CR before the line feed is dropped.
//
// What it deliberately does not do: read prints (lookUp does) or look at the command line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "terminal/exit_status.h"

namespace kalvori::terminal {

struct LookupRequest {
  std::string text;  // "-": one print a line from `in`
  std::string mode;
  bool json = false;
};

// Writes the answers to `out` and a line on `err` if reading or writing fails; returns the exit
// status.
int answerLookup(const LookupRequest& request, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace kalvori::terminal
