// Looking a value or a marking up, both ways: what the user types or pastes into the look-up line
// ("4k7 5%", "22pF", "01C", "黄紫红金", "104K 2A") is read as a whole print, and the answer says the
// likeliest reading's value as the window writes units and every other field the print carries, its
// markings and its place in the standard value series, then the other readings; Enter then shows
// it on the window by pressing the buttons of the first mode that can show it, and the answer says
// where that mode cannot show the tolerance, or shows a printed code by its bands.
//
// What it deliberately does not do: touch the window. It is a pure function of the text and the
// current mode; pressing the buttons is left to the caller, through Form::click, so that the window's
// handlers stay the only writers of the window and the black-band refusal still speaks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "marking/picture.h"

namespace kalvori {

// What Enter does: choose the mode's option button, then type the marking's keys in band order, each
// key as MarkingKeys::type takes it ('0'..'9', 'G' for gold, 'S' for silver).
struct LookupPresses {
  std::string option;  // "r5", "r4", "l4", "c" or "tr"; empty when no mode's buttons can show it
  std::string keys;
};

struct LookupAnswer {
  bool understood = false;
  std::string line;       // the answer, or why the text was not understood ("看不懂“…”：…"); empty for
                          // blank text. A second line, after "\n", gives the other readings ("也可能是 …")
  LookupPresses presses;  // option empty: Enter changes nothing
  std::optional<MarkingPicture> picture;  // the marking of the likeliest reading, as it looks on the part
  // The same answer as one line of JSON, for the terminal: {"readings": [...], "markings": ...,
  // "series": ..., "refusal": null}; values in base units as plain numbers. Empty for blank text.
  std::string json;
};

// `currentMode` is the option button selected now ("r5", "r4", "l4", "c", "tr"; "" for none).
// Never throws; any text, of any length and any bytes, gets an answer.
LookupAnswer lookUp(std::string_view text, std::string_view currentMode);

}  // namespace kalvori
