// The marking drawn beside the look-up line's answer: each band in exactly the colour of the
// window's swatch of that colour, in reading order with the tolerance band set apart, at one and two
// device pixels a logical pixel; and what a screen reader hears of it.
#include <gtest/gtest.h>

#include <QImage>

#include "desktop/marking_picture.h"
#include "marking/band_colour.h"

namespace kalvori::desktop {
namespace {

using Body = MarkingPicture::Body;

// Each band colour as the window's swatch shows it, written out red, green, blue: a picture that
// read 0x00BBGGRR the wrong way round would paint red bands blue.
constexpr std::pair<Band, QRgb> kSwatches[] = {
    {Band::Black, qRgb(0, 0, 0)},         {Band::Brown, qRgb(192, 64, 0)},   {Band::Red, qRgb(255, 0, 0)},
    {Band::Orange, qRgb(255, 128, 0)},    {Band::Yellow, qRgb(255, 255, 0)}, {Band::Green, qRgb(0, 192, 0)},
    {Band::Blue, qRgb(0, 0, 255)},        {Band::Violet, qRgb(192, 0, 192)}, {Band::Grey, qRgb(224, 224, 224)},
    {Band::White, qRgb(255, 255, 255)},   {Band::Gold, qRgb(255, 255, 192)}, {Band::Silver, qRgb(224, 224, 224)},
};

QRgb swatchOf(Band b) {
  for (const auto& [band, rgb] : kSwatches)
    if (band == b) return rgb;
  return 0;
}

struct BandedCase {
  Body body;
  std::vector<Band> bands;
  std::size_t apart;  // how many of the last bands stand apart
  const char* description;
};

const BandedCase kBanded[] = {
    {Body::Resistor, {Band::Black}, 0, "电阻色环：黑"},  // a zero-ohm link
    {Body::Resistor, {Band::Yellow, Band::Violet, Band::Red}, 0, "电阻色环：黄、紫、红"},
    {Body::Resistor, {Band::White, Band::Yellow, Band::Grey, Band::Gold}, 1, "电阻色环：白、黄、灰、金"},
    {Body::Resistor, {Band::Brown, Band::Black, Band::Black, Band::Red, Band::Brown}, 1, "电阻色环：棕、黑、黑、红、棕"},
    {Body::Resistor, {Band::Orange, Band::White, Band::Blue, Band::Silver, Band::Violet, Band::Green}, 2,
     "电阻色环：橙、白、蓝、银、紫、绿"},
    {Body::Inductor, {Band::Brown, Band::Black, Band::Black, Band::Silver}, 1, "电感色环：棕、黑、黑、银"},
};

MarkingPicture pictureOf(const BandedCase& c) {
  MarkingPicture p{c.body, {}, {}};
  for (Band b : c.bands) p.bands.push_back({bandColour(b).swatch, bandColour(b).name});
  return p;
}

TEST(MarkingPicture, EachBandIsPaintedInItsSwatchColourInReadingOrder) {
  MarkingPictureView view;
  view.resize(120, 45);  // as in the look-up line
  for (const BandedCase& c : kBanded) {
    SCOPED_TRACE(c.description);
    view.setPicture(pictureOf(c));
    ASSERT_TRUE(view.isVisible());
    EXPECT_EQ(view.accessibleName(), "标记图");
    EXPECT_EQ(view.accessibleDescription(), c.description);
    for (int scale : {1, 2}) {
      QImage shot(view.size() * scale, QImage::Format_RGB32);
      shot.setDevicePixelRatio(scale);
      shot.fill(Qt::darkCyan);
      view.render(&shot);
      for (std::size_t i = 0; i < c.bands.size(); ++i) {
        const QRect band = view.bandRect(i);
        ASSERT_TRUE(view.rect().contains(band)) << i;
        const QPoint middle = band.center() * scale;
        EXPECT_EQ(QColor(shot.pixel(middle)), QColor(swatchOf(c.bands[i]))) << "band " << i << " at " << scale << "x";
      }
    }
    // Left to right, the bands set apart after a wider gap than any between the others.
    int widestBefore = 0, gapApart = 0;
    for (std::size_t i = 1; i < c.bands.size(); ++i) {
      const int gap = view.bandRect(i).left() - view.bandRect(i - 1).right();
      ASSERT_GT(gap, 1) << i;
      if (i == c.bands.size() - c.apart) gapApart = gap;
      else widestBefore = std::max(widestBefore, gap);
    }
    if (c.apart > 0) EXPECT_GT(gapApart, widestBefore);
  }
}

TEST(MarkingPicture, APrintedBodyIsDescribedByItsLinesAndNoPictureHidesIt) {
  MarkingPictureView view;
  view.resize(120, 45);
  const std::pair<MarkingPicture, const char*> cases[] = {
      {{Body::ChipResistor, {}, {"472"}}, "贴片印字：472"},
      {{Body::Capacitor, {}, {"104K", "2A"}}, "电容印字：104K，2A"},
  };
  for (const auto& [picture, description] : cases) {
    view.setPicture(picture);
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.accessibleDescription(), description);
    EXPECT_TRUE(view.bandRect(0).isEmpty());
  }
  view.setPicture(std::nullopt);
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.accessibleDescription(), "");
}

}  // namespace
}  // namespace kalvori::desktop
