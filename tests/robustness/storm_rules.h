// The rules that hold after every user action, checked by all three random-click harnesses (the
// storm on the model, the storm through the window, and the click-sequence fuzzer): every caption,
// text and back colour is one of the window's fixed values, exactly one mode is selected, the window
// is in exactly one of its three views (the one the last view button led to), the two thousands
// commas are never both shown, the file list shows the folder list's folder, the drive list shows
// a place or nothing, and the media device hears exactly what the action asks of it.
//
// What it deliberately does not do: click, or know what any click should read. It watches.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "form/control_model.h"

namespace kalvori::testing {

// Every value the window can ever show: whatever the design data hold at start, plus what the
// handlers write (from the colour table and the literal lists in storm_rules.cpp).
struct FixedValues {
  explicit FixedValues(const Form& start);
  std::unordered_set<std::string> captions, texts, messages;
  std::unordered_set<OleColor> colours;
};

enum class View { Converter, Player, Reference };
const char* viewName(View v);
// The view a click on `name` leads to; none for a click that does not switch views.
std::optional<View> viewAfter(std::string_view name);

// Notes where a storm is, so that a crash can be replayed too: when a sanitizer stops the process,
// or it aborts, "storm stopped at seed S, click N" is printed with the report.
void markStormPosition(unsigned seed, int click);

// What the media device must hear after a user's action on `control` (a click, or a choice in the
// file list), when the control was reachable: "stop" from ttt; close, the file, open and play of the
// path formed from the folder and the chosen file from the file list; the same and play once more
// from kkk; nothing from anything else. The recording device writes a file name as "file:<path>".
std::vector<std::string> deviceCommandsFor(const Form& form, std::string_view control);

// The own flags of the windowed controls, one character each. Nothing in the window ever moves, so
// what a user can reach follows from these alone.
std::string windowedFlags(const Form& form);

class StormRules {
 public:
  // Watches every property the form writes from now on; the form must write nothing once the
  // rules are gone.
  StormRules(Form& form, const FixedValues& fixed);

  // What broke after a click on `clicked` (empty for an action that is no click, or a click on
  // something out of reach), or "" when every rule holds. Values are checked as they are written;
  // sweep() checks them all at once. `places`, when given, are the drive list's entries.
  std::string afterClick(std::string_view clicked, const std::vector<std::string>* places = nullptr);
  std::string sweep() const;
  std::string checkMessage(const std::string& text) const;
  // Changes whenever what a user can reach may have changed: only the own flag of a windowed
  // control (a button, a box, a list or a frame) decides that, since nothing ever moves.
  long reachEpoch() const { return reachEpoch_; }

 private:
  std::string valueFault(const Control& c, Property p) const;
  bool looksLike(View v) const;

  const Form& form_;
  const FixedValues& fixed_;
  std::vector<const Control*> options_;  // controls never move once the form is made
  const Control &zov_, &f2_, &dd1_, &dd2_, &dir1_, &file1_, &drive1_;
  std::vector<const Control*> player_;
  View expected_ = View::Converter;
  std::string written_;  // the first value written that is not a fixed one
  long reachEpoch_ = 0;
  long viewCheckedAt_ = -1;  // the epoch at which the views were last told apart
  std::map<std::string, std::string> viewsByFlags_;  // which views the window looks like
};

}  // namespace kalvori::testing
