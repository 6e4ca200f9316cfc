// What the answer makes of a reading: its markings (and why a tolerance has no band), the JSON form
// a script reads (exact numbers, escaped strings), and the picture of the marking (colours from the
// window's swatches, a capacitor's printed lines).
#include "marking/answer.h"

#include <gtest/gtest.h>

#include "marking/answer_json.h"
#include "marking/band_words.h"
#include "marking/markings.h"
#include "marking/print_reader.h"

namespace kalvori {
namespace {

constexpr PartKind RB = PartKind::ResistorBands, CC = PartKind::CapacitorCode;

PrintReading first(const char* text, PartKind kind) { return readPrint(text, kind).readings.at(0); }

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : " | ") + p;
  return out;
}

TEST(Answer, MarkingsOfAValue) {
  const std::pair<const char*, const char*> cases[] = {
      {"4k7 5%", "四环 黄紫红金 | 五环 黄紫黑棕金 | 贴片 472"},
      {"4k7 3%", "色环 无（±3% 没有误差环） | 贴片 472"},  // three bands would read ±20 %
      {"10k 2%", "四环 棕黑橙红 | 五环 棕黑黑红红 | 贴片 103"},
      {"4k7 Z", "色环 无（+80/-20% 没有误差环） | 贴片 472"},
      {"000", "一条黑环 | 贴片 0 或 000"},
      {"104K", "五环 棕黑黄橙 | 贴片 1043"},
  };
  for (const auto& [text, markings] : cases) {
    const PrintReading r = first(text, RB);
    EXPECT_EQ(joined(markingWords(*r.quantity)), markings) << text;
  }
  EXPECT_EQ(joined(markingWords(*first("104K 2A", CC).quantity)), "代码 104");
  // Chip inductors too small for bands carry their code: nanohenries with N as the point.
  const std::pair<const char*, const char*> inductors[] = {
      {"6N8", "贴片 6N8"}, {"47nH", "贴片 47N"}, {"1nH", "贴片 1N0"}, {"4R7", "四环 黄紫金"}, {"10uH", "四环 棕黑黑"}};
  for (const auto& [text, markings] : inductors)
    EXPECT_EQ(joined(markingWords(*first(text, PartKind::InductorBands).quantity)), markings) << text;
  EXPECT_EQ(inductorChipCode(Decimal::of(47, -8)), "R47");
  EXPECT_EQ(inductorChipCode(Decimal::of(1, -4)), "101");
}

TEST(Answer, JsonGivesNumbersExactlyAndEveryField) {
  const PrintReadings capacitor = readPrint("104K 2A", CC);
  EXPECT_EQ(answerJson(capacitor.readings, {}),
            R"({"readings": [{"value": 0.0000001, "unit": "F", "written": "code3", )"
            R"("tolerance": {"minus": 10, "plus": 10, "unit": "%"}, "voltage": {"volts": 100, "kind": "DC", "code": "2A"}}], )"
            R"("markings": {"capacitor_code": "104"}, "series": {"name": "E6"}, "refusal": null})");
  const PrintReadings six = readPrint("brown black black red brown red", RB);
  EXPECT_EQ(answerJson(six.readings, {}),
            R"({"readings": [{"value": 10000, "unit": "ohm", "written": "colours", )"
            R"("tolerance": {"minus": 1, "plus": 1, "unit": "%"}, "tempco_ppm_per_kelvin": 50}], )"
            R"("markings": {"four_band": ["brown", "black", "orange", "brown"], )"
            R"("five_band": ["brown", "black", "black", "red", "brown"], "chip_code": "103", "chip_code_4": "1002", )"
            R"("eia96": "01C"}, "series": {"name": "E6"}, "refusal": null})");
  const std::pair<const char*, const char*> fields[] = {
      {"0R0", R"("zero_ohm_link": true)"},
      {"X7R", R"("dielectric": {"code": "X7R", "class": 2, "lowest_celsius": -55, "highest_celsius": 125, )"
              R"("change_minus_percent": 15, "change_plus_percent": 15})"},
      {"U2J", R"("ppm_per_kelvin": -750, "ppm_tolerance": 120)"},
      {"5W 0R1J", R"("power_watts": 5)"},
      {"WH148 B100K", R"("taper": "linear", "part_number": "WH148")"},
      {"X2 104K 275VAC", R"("voltage": {"volts": 275, "kind": "AC"}, "safety_class": "X2")"},
      {"107A", R"("voltage": {"volts": 10, "kind": "DC", "code": "A", "tantalum_letter": true})"},
      {"4p7C", R"("tolerance": {"minus": 0.25, "plus": 0.25, "unit": "pF"})"},
      {"4.8k", R"("series": {"name": null, "e24_below": 4700, "e24_above": 5100})"},
      {"1e-15", R"("refusal")"},
  };
  for (const auto& [text, part] : fields) {
    const PrintReadings r = readPrint(text, RB);
    const std::string json = answerJson(r.readings, r.refusal);
    EXPECT_NE(json.find(part), std::string::npos) << text << ": " << json;
  }
  EXPECT_EQ(answerJson({}, "看不懂“a\"\\\x01\n”：x"),
            R"({"readings": [], "markings": null, "series": null, "refusal": "看不懂“a\"\\\u0001\u000a”：x"})");
  EXPECT_EQ(jsonString("\u2028\u2029\x7f"), R"("\u2028\u2029\u007f")");
}

TEST(Answer, PictureOfTheMarking) {
  using Body = MarkingPicture::Body;
  const auto bands = [](const MarkingPicture& p) {
    std::string names;
    for (const PaintedBand& b : p.bands) names += b.name;
    return names;
  };
  // Bands in their swatch colours, as the chosen marking has them.
  const PrintReading value = first("4k7 5%", RB);
  const MarkingPicture four = *pictureOf(value, DrawnMarking::FourBand);
  EXPECT_EQ(four.body, Body::Resistor);
  EXPECT_EQ(bands(four), "黄紫红金");
  EXPECT_EQ(four.bands[0].colour, bandColour(Band::Yellow).swatch);
  EXPECT_EQ(four.bands[3].colour, bandColour(Band::Gold).swatch);
  EXPECT_EQ(bands(*pictureOf(value, DrawnMarking::FiveBand)), "黄紫黑棕金");
  EXPECT_EQ(pictureOf(value, DrawnMarking::ChipCode)->lines, std::vector<std::string>{"472"});
  EXPECT_EQ(bands(*pictureOf(value, DrawnMarking::First)), "黄紫红金");
  // A colour list is drawn as read: six bands, pink in its own colour.
  const MarkingPicture six = *pictureOf(first("brown black black red brown red", RB), DrawnMarking::FourBand);
  EXPECT_EQ(bands(six), "棕黑黑红棕红");
  EXPECT_EQ(six.bands[5].colour, bandColour(Band::Red).swatch);
  EXPECT_EQ(pictureOf(first("red red pink", RB), DrawnMarking::First)->bands[2].colour, kPinkSwatch);
  EXPECT_EQ(pictureOf(first("101K", PartKind::InductorBands), DrawnMarking::First)->body, Body::Inductor);
  EXPECT_EQ(bands(*pictureOf(first("0R", RB), DrawnMarking::First)), "黑");
  // A capacitor's printed lines, top first.
  const std::pair<const char*, std::vector<std::string>> capacitors[] = {
      {"104K 2A", {"104K", "2A"}},        {"2A104J", {"104J", "2A"}},          {"47µF 25V", {"47uF", "25V"}},
      {"X2 104K 275VAC", {"X2", "104K", "275VAC"}}, {"107A", {"107A"}},   {"X7R", {"X7R"}},
      {"100nF", {"104"}},                  {".1J100", {"104J", "100V"}},
  };
  for (const auto& [text, lines] : capacitors) {
    const auto p = pictureOf(first(text, CC), DrawnMarking::First);
    ASSERT_TRUE(p) << text;
    EXPECT_EQ(p->body, Body::Capacitor) << text;
    EXPECT_EQ(p->lines, lines) << text;
  }
  EXPECT_FALSE(pictureOf(first("5W", RB), DrawnMarking::First));
}

}  // namespace
}  // namespace kalvori
