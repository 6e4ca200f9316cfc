// The photo reader on painted photos: every colour in every place a band can be, every band count,
// both directions, the three body paints, light casts, glare, blur and noise, and the photos it
// must refuse; then the reading of bands and the JSON on their own.
#include "photo/photo_reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "marking/band_words.h"
#include "support/resistor_render.h"

namespace kalvori {
namespace {

using test::BodyPaintKind;
using test::ResistorScene;
using B = Band;

struct Case {
  std::vector<Band> bands;
  std::string ohms;
  bool rare = false;  // a value few parts have: a commoner one may come first, or none at all
};

// Every colour as a first and a second digit, as a multiplier and as a tolerance, on four, five,
// six and three bands; the values ones that are made.
const std::vector<Case> kCases{
    {{B::Brown, B::Black, B::Red, B::Gold}, "1000"},
    {{B::Yellow, B::Violet, B::Orange, B::Gold}, "47000"},
    {{B::Orange, B::Orange, B::Brown, B::Gold}, "330"},
    {{B::Blue, B::Grey, B::Yellow, B::Silver}, "680000"},
    {{B::Grey, B::Red, B::Black, B::Gold}, "82"},
    {{B::White, B::Brown, B::Red, B::Gold}, "9100"},
    {{B::Green, B::Blue, B::Gold, B::Gold}, "5.6"},
    {{B::Red, B::Red, B::Gold, B::Gold}, "2.2"},
    {{B::Red, B::Red, B::Silver, B::Gold}, "0.22", true},
    {{B::Brown, B::Green, B::Green, B::Gold}, "1500000"},
    {{B::Brown, B::Black, B::Blue, B::Silver}, "10000000"},
    {{B::Violet, B::Green, B::Black, B::Black, B::Brown}, "750"},
    {{B::White, B::Black, B::White, B::Brown, B::Brown}, "9090"},
    {{B::Grey, B::Red, B::Green, B::Brown, B::Red}, "8250"},
    {{B::Blue, B::Yellow, B::White, B::Red, B::Brown}, "64900"},
    {{B::Brown, B::Black, B::Black, B::Brown, B::Green}, "1000"},
    {{B::Red, B::Red, B::Black, B::Black, B::Blue}, "220", true},  // ±0.25 %: few parts
    {{B::Orange, B::Orange, B::Red, B::Orange, B::Violet}, "332000"},
    {{B::Brown, B::Black, B::Black, B::Red, B::Brown, B::Brown}, "10000"},
    {{B::Yellow, B::Violet, B::Black, B::Brown, B::Red, B::Red}, "4700"},
    {{B::Brown, B::Black, B::Red}, "1000"},
    {{B::Yellow, B::Violet, B::Orange}, "47000"},
};

bool shown(const PhotoAnswer& a, const std::string& ohms) {
  for (const BandReading& r : a.readings)
    if (r.ohms.text() == ohms) return true;
  return false;
}

std::string described(const PhotoAnswer& a) {
  std::string s = a.why;
  for (const BandReading& r : a.readings) {
    s += " |";
    for (Band b : r.bands) s += " " + std::string(iecColourName(b));
    s += " " + r.ohms.text();
  }
  return s;
}

TEST(PhotoReading, EveryColourInEveryPlaceIsReadFirst) {
  for (const Case& c : kCases) {
    ResistorScene scene;
    scene.bands = c.bands;
    scene.seed = static_cast<std::uint32_t>(c.bands.size() * 31 + static_cast<int>(c.bands[0]));
    const PhotoAnswer a = readPhoto(test::renderResistor(scene));
    if (c.rare) {
      // A value few parts have gets little weight: shown, or refused as unsure, never missed.
      EXPECT_TRUE(shown(a, c.ohms) || a.refusal == PhotoRefusal::Unsure) << described(a);
      continue;
    }
    ASSERT_FALSE(a.readings.empty()) << c.ohms << ": " << described(a);
    EXPECT_EQ(a.readings.front().ohms.text(), c.ohms) << described(a);
    EXPECT_EQ(a.readings.front().bands, c.bands) << c.ohms;
  }
}

// Turned round, on other bodies, under other light: the right value is among those shown.
TEST(PhotoReading, ReadsUnderOtherLightAndOnOtherBodies) {
  struct Look {
    const char* what;
    void (*change)(ResistorScene&);
  };
  const std::vector<Look> looks{
      {"turned round", [](ResistorScene& s) { s.angle = 3.14159265; }},
      {"steep", [](ResistorScene& s) { s.angle = 1.1, s.cx = 220, s.cy = 190; }},
      {"blue body", [](ResistorScene& s) { s.body = BodyPaintKind::Blue; }},
      {"green body", [](ResistorScene& s) { s.body = BodyPaintKind::Green; }},
      {"warm lamp",
       [](ResistorScene& s) {
         s.cast = {1.25, 1.0, 0.7};
       }},
      {"cold shade",
       [](ResistorScene& s) {
         s.cast = {0.8, 0.95, 1.25};
       }},
      {"dim", [](ResistorScene& s) { s.light = 0.35, s.noise = 3; }},
      {"strong glare", [](ResistorScene& s) { s.glare = 1.2, s.glareAt = 0.1; }},
      {"blurred and noisy", [](ResistorScene& s) { s.blur = 1.6, s.noise = 5; }},
      {"dark desk",
       [](ResistorScene& s) {
         s.background = {50, 52, 58};
       }},
      {"small", [](ResistorScene& s) { s.length = 100, s.blur = 0.5; }},
  };
  for (const Look& look : looks)
    for (std::size_t i = 0; i < kCases.size(); i += 3) {
      ResistorScene scene;
      scene.bands = kCases[i].bands;
      look.change(scene);
      scene.seed = static_cast<std::uint32_t>(i + 7);
      const PhotoAnswer a = readPhoto(test::renderResistor(scene));
      EXPECT_TRUE(shown(a, kCases[i].ohms)) << look.what << ", " << kCases[i].ohms << ": " << described(a);
    }
}

TEST(PhotoReading, TheProposedLineRunsCapToCap) {
  ResistorScene scene;
  scene.bands = kCases[0].bands;
  scene.angle = 0.5;
  const std::optional<BodyLine> line = proposeLine(test::renderResistor(scene));
  ASSERT_TRUE(line);
  const BodyLine truth = test::bodyLineOf(scene);
  // Either way round, each end within a twentieth of the body's length.
  const double same = std::hypot(line->from.x - truth.from.x, line->from.y - truth.from.y) +
                      std::hypot(line->to.x - truth.to.x, line->to.y - truth.to.y);
  const double swapped = std::hypot(line->from.x - truth.to.x, line->from.y - truth.to.y) +
                         std::hypot(line->to.x - truth.from.x, line->to.y - truth.from.y);
  EXPECT_LT(std::min(same, swapped), 2 * 0.05 * scene.length);
}

TEST(PhotoReading, AGivenLineIsReadAlong) {
  ResistorScene scene;
  scene.bands = kCases[1].bands;
  const PhotoAnswer a = readPhoto(test::renderResistor(scene), test::bodyLineOf(scene));
  EXPECT_FALSE(a.lineProposed);
  ASSERT_FALSE(a.readings.empty()) << described(a);
  EXPECT_EQ(a.readings.front().ohms.text(), kCases[1].ohms);
  EXPECT_FALSE(a.readings.front().reversed);
  ASSERT_EQ(a.seen.size(), 4u);
  EXPECT_LT(a.seen.front().from, a.seen.back().from);
}

TEST(PhotoReading, RefusesWhatItCannotRead) {
  struct Refusal {
    const char* what;
    void (*change)(ResistorScene&);
    PhotoRefusal why;
  };
  const std::vector<Refusal> refusals{
      {"tiny", [](ResistorScene& s) { s.length = 30, s.blur = 0; }, PhotoRefusal::TooSmall},
      {"dark", [](ResistorScene& s) { s.light = 0.03; }, PhotoRefusal::TooDark},
      {"washed out", [](ResistorScene& s) { s.light = 3.5; }, PhotoRefusal::Glare},
      {"no resistor", [](ResistorScene& s) { s.length = 0; }, PhotoRefusal::NoBody},
      {"no bands", [](ResistorScene& s) { s.bands.clear(); }, PhotoRefusal::NoBands},
  };
  for (const Refusal& r : refusals) {
    ResistorScene scene;
    scene.bands = kCases[0].bands;
    r.change(scene);
    const BodyLine line = test::bodyLineOf(scene);
    const RgbImage photo = test::renderResistor(scene);
    const PhotoAnswer a = readPhoto(photo, r.why == PhotoRefusal::NoBody ? std::nullopt : std::optional(line));
    EXPECT_EQ(a.refusal, r.why) << r.what << ": " << described(a);
    EXPECT_TRUE(a.readings.empty()) << r.what;
    EXPECT_FALSE(a.why.empty()) << r.what;
  }
}

// A body the colour of the desk stands out by its bands only: read right, or the user is asked to
// draw the line; never a reading of something else.
TEST(PhotoReading, ABodyTheColourOfTheDeskIsReadOrLeftToTheUser) {
  ResistorScene scene;
  scene.bands = kCases[1].bands;
  scene.angle = 0.4;
  scene.background = {210, 185, 147};
  const PhotoAnswer a = readPhoto(test::renderResistor(scene));
  EXPECT_TRUE(a.refusal == PhotoRefusal::NoBody || shown(a, kCases[1].ohms)) << described(a);
  EXPECT_TRUE(shown(readPhoto(test::renderResistor(scene), test::bodyLineOf(scene)), kCases[1].ohms));
}

TEST(PhotoReading, NeverFailsOnStrangeInput) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), huge = 1e300;
  ResistorScene scene;
  scene.bands = kCases[0].bands;
  const RgbImage photo = test::renderResistor(scene);
  RgbImage onePixel(1, 1), lying(10, 10);
  lying.rgb.resize(7);  // fewer bytes than its size says
  for (const RgbImage& img : {RgbImage(), onePixel, lying, photo})
    for (const std::optional<BodyLine>& line :
         {std::optional<BodyLine>(), std::optional(BodyLine{{5, 5}, {5, 5}}),
          std::optional(BodyLine{{-900, 5}, {-800, 9}}), std::optional(BodyLine{{0, 0}, {huge, huge}}),
          std::optional(BodyLine{{nan, 1}, {3, nan}}), std::optional(BodyLine{{-huge, -huge}, {huge, huge}})}) {
      const PhotoAnswer a = readPhoto(img, line);
      EXPECT_TRUE(a.refusal != PhotoRefusal::None || !a.readings.empty());
      EXPECT_NE(a.refusal == PhotoRefusal::None, !a.why.empty());
      if (line) {
        const RgbImage strip = straightStrip(img, *line, 12, 200);
        EXPECT_FALSE(strip.empty());
      }
      EXPECT_FALSE(photoJson(a).empty());
    }
}

TEST(ReadingOfBands, MeansWhatTheColourCodeSays) {
  const std::optional<BandReading> four = readingOfBands({B::Yellow, B::Violet, B::Red, B::Gold});
  ASSERT_TRUE(four);
  EXPECT_EQ(four->ohms.text(), "4700");
  EXPECT_EQ(four->tolerance, Tolerance(Decimal::of(5, 0)));
  const std::optional<BandReading> three = readingOfBands({B::Green, B::Brown, B::Gold});
  ASSERT_TRUE(three);
  EXPECT_EQ(three->ohms.text(), "5.1");
  EXPECT_FALSE(three->tolerance);
  const std::optional<BandReading> six = readingOfBands({B::Brown, B::Black, B::Black, B::Red, B::Brown, B::Red});
  ASSERT_TRUE(six);
  EXPECT_EQ(six->ohms.text(), "10000");
  EXPECT_EQ(six->tempco, 50);
  // No resistor has these: a gold or black first digit, a tolerance band of orange, a white tempco.
  EXPECT_FALSE(readingOfBands({B::Gold, B::Black, B::Red, B::Gold}));
  EXPECT_FALSE(readingOfBands({B::Black, B::Red, B::Red, B::Gold}));
  EXPECT_FALSE(readingOfBands({B::Brown, B::Black, B::Red, B::Orange}));
  EXPECT_FALSE(readingOfBands({B::Brown, B::Black, B::Black, B::Red, B::Brown, B::White}));
  EXPECT_FALSE(readingOfBands({B::Brown, B::Black}));
}

TEST(PhotoJson, WritesReadingsLineAndRefusal) {
  PhotoAnswer a;
  a.line = {{1, 2.5}, {300, 4}};
  BandReading r = *readingOfBands({B::Orange, B::Orange, B::Black, B::Gold});
  r.score = 0.8;
  a.readings.push_back(r);
  BandReading six = *readingOfBands({B::Green, B::Brown, B::Black, B::Yellow, B::Brown, B::Red});
  six.score = 0.126;
  a.readings.push_back(six);
  a.readings.push_back(*readingOfBands({B::Yellow, B::Violet, B::Silver}));
  EXPECT_EQ(
      photoJson(a),
      "{\"readings\": [{\"bands\": [\"orange\", \"orange\", \"black\", \"gold\"], \"value\": 33, \"unit\": \"Ω\", "
      "\"tolerance\": {\"minus\": 5, \"plus\": 5, \"unit\": \"%\"}, \"score\": 0.80}, "
      "{\"bands\": [\"green\", \"brown\", \"black\", \"yellow\", \"brown\", \"red\"], \"value\": 5100000, \"unit\": "
      "\"Ω\", \"tolerance\": {\"minus\": 1, \"plus\": 1, \"unit\": \"%\"}, \"tempco\": {\"value\": 50, \"unit\": "
      "\"ppm/K\"}, \"score\": 0.13}, "
      "{\"bands\": [\"yellow\", \"violet\", \"silver\"], \"value\": 0.47, \"unit\": \"Ω\", \"tolerance\": null, "
      "\"score\": 0.00}], \"line\": [1, 2.5, 300, 4], \"refusal\": null}");
  PhotoAnswer no;
  no.refusal = PhotoRefusal::Unsure;
  no.why = "say \"no\"\n";
  EXPECT_EQ(photoJson(no), "{\"readings\": [], \"line\": [0, 0, 0, 0], \"refusal\": \"say \\\"no\\\"\\u000a\"}");
  EXPECT_EQ(iecColourName(B::Grey), "grey");
  EXPECT_EQ(iecColourName(B::Violet), "violet");
}

}  // namespace
}  // namespace kalvori
