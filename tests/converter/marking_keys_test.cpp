// Typing a marking against clicking it: in every mode a typed sequence must leave the whole window
// exactly as the same buttons clicked do, refusals included; and the reading copied from it.
#include "converter/marking_keys.h"

#include <gtest/gtest.h>

#include "converter/value_reading.h"
#include "support/form_state.h"
#include "window/main_window.h"

namespace kalvori {
namespace {

TEST(MarkingKeys, TypingLeavesTheWindowAsTheSameClicksDoAndReadsAsShown) {
  struct Case {
    const char* name;
    const char* typed;  // keys; '<' is Backspace; "(name)" clicks that control
    std::vector<const char*> clicked;
    const char* reading;
  };
  const Case cases[] = {
      {"five-band", "10021", {"a1", "b0", "c0", "d2", "e0"}, "10,000Ω 误差率＋－1％"},
      {"five-band black first: no comma before the first digit", "0101", {"a0", "b1", "c0", "d1"}, "100Ω"},
      {"five-band: 8 no multiplier, S no tolerance", "4708GS", {"a4", "b7", "c0", "d8"}, "470×0.1Ω"},
      {"four-band", "(r4)473G", {"r4", "b4", "c7", "d3", "e1"}, "47 k 误差率＋－5％"},
      {"four-band: comma left of the row left out", "(r4)474s", {"r4", "b4", "c7", "d4", "e2"}, "470 k 误差率＋－10％"},
      {"four-band black twice: refused, column kept", "(r4)001", {"r4", "b04", "c04", "c1"}, "1"},
      {"four-band, digit kept in hidden k1", "1(r4)222", {"a1", "r4", "b2", "c2", "d2"}, "2,200Ω"},
      {"inductor, round to the first band", "(l4)102S5", {"l4", "b1", "c04", "dl2", "e2", "b5"}, "5,000 uH 误差率＋－10％"},
      {"capacitor: 0 names no first or third digit", "(c)04702", {"c", "b4", "c7", "dc2"}, "4,700 pF"},
      {"capacitor after four-band: 0 is c04", "(r4)(c)103", {"r4", "c", "b1", "c04", "dc3"}, "10 nF"},
      {"Backspace, from the first column to the last", "(c)473<5<<8", {"c", "b4", "c7", "dc3", "dc5", "c8"}, "4,800 nF"},
      {"mode chosen again: first band", "(c)47(c)1", {"c", "b4", "c7", "c", "b1"}, "1"},
      {"chip resistor: 8 and 0 no third digit", "(tr)47802", {"tr", "b4", "c7", "d2"}, "4,700Ω"},
      {"nothing typed under the player", "(mp3)4(f1)4", {"mp3", "f1", "a4"}, "4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto typed = createMainWindow(), clicked = createMainWindow();
    testing::Messages typedMessages, clickedMessages;
    typedMessages.attach(*typed);
    clickedMessages.attach(*clicked);
    MarkingKeys keys(*typed);
    for (std::string_view t = c.typed; !t.empty(); t.remove_prefix(1)) {
      if (t[0] == '(') {
        typed->click(t.substr(1, t.find(')') - 1));
        t.remove_prefix(t.find(')'));
      } else if (t[0] == '<') {
        keys.back();
      } else {
        keys.type(t[0]);
      }
    }
    for (const char* name : c.clicked) clicked->click(name);
    EXPECT_EQ(testing::Snapshot(*clicked).changesIn(*typed), testing::Changes{});
    EXPECT_EQ(typedMessages.shown, clickedMessages.shown);  // the same refusals
    EXPECT_EQ(ValueReading(*typed).text(), c.reading);
  }
}

}  // namespace
}  // namespace kalvori
