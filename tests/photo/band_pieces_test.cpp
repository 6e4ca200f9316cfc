// The reader's pieces on their own: the paint table names its own colours and tells metal by its
// shine, the body's colour is the commonest, the white balance holds a cast within what light does,
// the strip splits where the bands are, and the ranking weighs directions, series and tolerance
// bands as real parts are made.
#include <gtest/gtest.h>

#include <numeric>

#include "photo/band_paints.h"
#include "photo/band_readings.h"
#include "photo/band_split.h"
#include "photo/white_balance.h"

namespace kalvori {
namespace {

using B = Band;

Band likeliest(const ColourOdds& odds) {
  return static_cast<Band>(std::max_element(odds.begin(), odds.end()) - odds.begin());
}

TEST(BandPaints, EachPaintIsItsOwnLikeliestColour) {
  for (const BandPaint& p : bandPaints()) {
    double nearest = 0;
    const ColourOdds odds = colourOdds(p.lab, p.metallic ? 2.5 : 1.0, nearest);
    EXPECT_EQ(likeliest(odds), p.band) << static_cast<int>(p.band);
    EXPECT_NEAR(std::accumulate(odds.begin(), odds.end(), 0.0), 1.0, 1e-9);
    EXPECT_EQ(nearest, 0);
  }
  // Halfway between gold and yellow, the shine decides; far from every paint (a cyan no band is
  // painted in) is strange, but a violet only more saturated than the table's is not.
  const Lab between{77, 5, 50};
  double nearest = 0;
  EXPECT_EQ(likeliest(colourOdds(between, 3.0, nearest)), B::Gold);
  EXPECT_EQ(likeliest(colourOdds(between, 0.8, nearest)), B::Yellow);
  colourOdds({60, -60, -60}, 1, nearest);
  EXPECT_GT(nearest, 3);
  EXPECT_EQ(likeliest(colourOdds({48, 44, -60}, 1, nearest)), B::Violet);
  EXPECT_LT(nearest, 2.5);
}

TEST(WhiteBalance, TheCommonestColourIsTheBodyAndCastsAreHeld) {
  std::vector<LinearRgb> columns(100, linearOfSrgb(210, 180, 140));
  for (int i = 20; i < 30; ++i) columns[static_cast<std::size_t>(i)] = linearOfSrgb(40, 40, 40);
  for (int i = 50; i < 58; ++i) columns[static_cast<std::size_t>(i)] = linearOfSrgb(200, 40, 40);
  const BodyColour body = commonColour(columns);
  EXPECT_NEAR(body.colour.r, columns[0].r, 1e-9);
  EXPECT_EQ(std::count(body.isBody.begin(), body.isBody.end(), true), 82);

  const BodyPaint& beige = bodyPaints()[0];
  const Gains same = gainsFor(beige.reference, beige);
  EXPECT_NEAR(same.r, 1, 1e-9);
  EXPECT_NEAR(same.castPrior, 1, 1e-9);
  // A body seen ten times bluer than its paint: only part of that is taken out, and unlikely.
  const Gains blue = gainsFor({beige.reference.r, beige.reference.g, beige.reference.b * 10}, beige);
  EXPECT_LT(blue.r / blue.b, 1.61 * 1.61);
  EXPECT_LT(blue.castPrior, 0.1);
}

TEST(BandSplit, FindsTheBandsAndLeavesTheEndsAndSpecks) {
  const Lab body{80, 3, 20}, dark{30, 0, 0}, red{50, 50, 30};
  std::vector<Lab> columns(200, body);
  auto paint = [&](int from, int to, Lab c) {
    for (int i = from; i < to; ++i) columns[static_cast<std::size_t>(i)] = c;
  };
  paint(0, 3, dark);      // the background past the line's end
  paint(30, 45, red);
  paint(60, 76, dark);
  paint(76, 78, body);    // a gap too narrow to be one: one band
  paint(78, 80, dark);
  paint(100, 102, dark);  // a speck
  paint(150, 165, red);
  const std::vector<BandRun> runs = splitBands(columns, body);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].from, 30);
  EXPECT_EQ(runs[1].to, 80);
  EXPECT_EQ(runs[2].from, 150);
}

SeenBand seen(double from, std::vector<Band> colours, std::vector<double> odds) {
  SeenBand s;
  s.from = from, s.to = from + 0.07, s.colours = std::move(colours), s.odds = std::move(odds);
  return s;
}

TEST(BandReadings, WeighDirectionSeriesAndTolerance) {
  // Yellow, violet or blue, red, gold: 4.7 k is in E24, 4.6 k is not.
  const std::vector<SeenBand> bands{seen(0.12, {B::Yellow}, {1}), seen(0.25, {B::Violet, B::Blue}, {0.5, 0.5}),
                                    seen(0.38, {B::Red}, {1}), seen(0.78, {B::Gold, B::Yellow}, {0.8, 0.2})};
  const std::vector<BandReading> all = rankReadings(bands);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.front().ohms.text(), "4700");
  EXPECT_FALSE(all.front().reversed);
  double total = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    total += all[i].score;
    if (i > 0) {
      EXPECT_LE(all[i].score, all[i - 1].score);
    }
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_FALSE(all[i].ohms == all[j].ohms && all[i].tolerance == all[j].tolerance && all[i].tempco == all[j].tempco);
  }
  EXPECT_NEAR(total, 1, 1e-9);

  // The same bands seen from the other end are read backwards, gold last.
  std::vector<SeenBand> mirrored;
  for (auto it = bands.rbegin(); it != bands.rend(); ++it) mirrored.push_back(seen(1 - it->to, it->colours, it->odds));
  const std::vector<BandReading> back = rankReadings(mirrored);
  ASSERT_FALSE(back.empty());
  EXPECT_EQ(back.front().ohms.text(), "4700");
  EXPECT_TRUE(back.front().reversed);
  EXPECT_EQ(back.front().bands.back(), B::Gold);

  // Three bands that read either way: the wider margin is past the last band.
  const std::vector<SeenBand> three{seen(0.1, {B::Red}, {1}), seen(0.25, {B::Red}, {1}), seen(0.4, {B::Brown}, {1})};
  EXPECT_EQ(rankReadings(three).front().ohms.text(), "220");
  EXPECT_TRUE(rankReadings({three[0], three[1]}).empty());
}

}  // namespace
}  // namespace kalvori
