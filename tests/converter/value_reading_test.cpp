// What Ctrl+C copies of the value row: a value with its unit wherever the row is finished, worked
// out where the row shows a multiplier instead, and never a value where a band is still to choose.
#include "converter/value_reading.h"

#include <gtest/gtest.h>

#include "converter/modes.h"
#include "marking/quantity_reader.h"
#include "window/main_window.h"

namespace kalvori {
namespace {

struct Case {
  const char* name;
  std::vector<const char*> clicks;
  const char* shown;   // the row on screen
  const char* copied;  // what Ctrl+C copies
};

std::string copiedAfter(const Case& c, std::string* shown = nullptr) {
  auto form = createMainWindow();
  for (const char* name : c.clicks) form->click(name);
  if (shown) *shown = ValueReading(*form).text();
  return ValueReading(*form).copied();
}

TEST(CopiedReading, AFinishedRowIsAValueWithItsUnit) {
  const Case cases[] = {
      {"five bands, the unit shown", {"a1", "b0", "c0", "d2", "e0"}, "10,000Ω 误差率＋－1％", "10,000Ω 误差率＋－1％"},
      {"no tolerance band: finished", {"a4", "b7", "c0", "d1"}, "4,700Ω", "4,700Ω"},
      {"three bands", {"r4", "b4", "c7", "d2"}, "4,700Ω", "4,700Ω"},
      {"kilohms: the ohm added", {"r4", "b4", "c7", "d3", "e1"}, "47 k 误差率＋－5％", "47 kΩ 误差率＋－5％"},
      {"megohms", {"r4", "b1", "c04", "d6"}, "10 M", "10 MΩ"},
      {"chip code", {"tr", "b1", "c0", "d4"}, "100 k", "100 kΩ"},
      {"chip code, with a comma", {"tr", "b1", "c0", "d5"}, "1,000 k", "1,000 kΩ"},
      {"capacitor", {"c", "b4", "c7", "dc4"}, "470 nF", "470 nF"},
      {"inductor", {"l4", "b4", "c7", "dl0", "e2"}, "47uH 误差率＋－10％", "47uH 误差率＋－10％"},
  };
  for (const Case& c : cases) {
    std::string shown;
    EXPECT_EQ(copiedAfter(c, &shown), c.copied) << c.name;
    EXPECT_EQ(shown, c.shown) << c.name;
  }
}

TEST(CopiedReading, AGoldOrSilverFactorIsWorkedOut) {
  const Case cases[] = {
      {"gold, five bands", {"a4", "b7", "c0", "d8"}, "470×0.1Ω", "47Ω"},
      {"silver, five bands", {"a1", "b0", "c0", "d9"}, "100×0.01Ω", "1Ω"},
      {"black first band, silver", {"a0", "b1", "c0", "d9"}, "10×0.01Ω", "0.1Ω"},
      {"gold, four bands", {"r4", "b4", "c7", "d8", "e1"}, "47×0.1Ω 误差率＋－5％", "4.7Ω 误差率＋－5％"},
      {"one digit, silver", {"r4", "b04", "c1", "d9"}, "1×0.01Ω", "0.01Ω"},
      {"capacitor code 9", {"c", "b2", "c2", "dc9"}, "22×0.1 pF", "2.2 pF"},
      {"capacitor code 8", {"c", "b4", "c7", "dc8"}, "47×0.01 pF", "0.47 pF"},
      {"inductor gold", {"l4", "b4", "c7", "dl8", "e1"}, "47×0.1 uH 误差率＋－5％", "4.7 uH 误差率＋－5％"},
  };
  for (const Case& c : cases) {
    std::string shown;
    EXPECT_EQ(copiedAfter(c, &shown), c.copied) << c.name;
    EXPECT_EQ(shown, c.shown) << c.name;
  }
}

// Pasted back into the look-up line, the copy reads as the value the row shows.
TEST(CopiedReading, ReadsBackAsTheValueOnScreen) {
  const std::vector<const char*> cases[] = {
      {"r4", "b4", "c7", "d3", "e1"}, {"a4", "b7", "c0", "d8"}, {"c", "b2", "c2", "dc9"},
      {"l4", "b4", "c7", "dl8", "e1"}, {"tr", "b1", "c0", "d5"},
  };
  for (const auto& clicks : cases) {
    auto form = createMainWindow();
    for (const char* name : clicks) form->click(name);
    const PartKind kind = partKindOf(selectedMode(*form).value_or(""));
    const ValueReading reading(*form);
    const Reading copied = readQuantity(reading.copied(), kind), shown = readQuantity(reading.text(), kind);
    ASSERT_TRUE(copied.quantity && shown.quantity) << reading.copied() << " / " << reading.text();
    EXPECT_EQ(copied.quantity->value, shown.quantity->value) << reading.copied();
    EXPECT_EQ(copied.quantity->tolerance, shown.quantity->tolerance) << reading.copied();
  }
}

TEST(CopiedReading, AnUnfinishedRowIsMarkedSoAndNothingChosenCopiesNothing) {
  const Case cases[] = {
      {"nothing chosen", {}, "", ""},
      {"multiplier still to choose", {"r4", "b4", "c7"}, "47", "（未读完）47"},
      {"leading black band, the rest to choose", {"a0"}, "", "（未读完）"},
      {"leading black band and a digit", {"a0", "b4"}, "4", "（未读完）4"},
      {"only the tolerance", {"r4", "e1"}, "误差率＋－5％", "（未读完）误差率＋－5％"},
      {"five bands, the third to choose", {"a4", "b7", "d1"}, "4,70Ω", "（未读完）4,70Ω"},
      {"capacitor, the last digit to choose", {"c", "b4", "c7"}, "47", "（未读完）47"},
      {"a mode chosen again empties the row", {"r4", "b4", "c7", "d3", "r5"}, "", ""},
  };
  for (const Case& c : cases) {
    std::string shown;
    EXPECT_EQ(copiedAfter(c, &shown), c.copied) << c.name;
    EXPECT_EQ(shown, c.shown) << c.name;
    EXPECT_FALSE(readQuantity(c.copied, PartKind::ResistorBands).quantity) << c.name;
  }
}

}  // namespace
}  // namespace kalvori
