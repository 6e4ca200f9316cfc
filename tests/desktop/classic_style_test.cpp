// The classic faces: each kind of control flat in its designed colour inside the classic bevel, at
// one and two device pixels a logical pixel; and, on an X display (on_screen_test.sh runs it under
// Xvfb), the face colours a reader compares with the swatches.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "support/open_window.h"

namespace kalvori::desktop {
namespace {

// Outer top-left, outer bottom-right, inner top-left, inner bottom-right.
using Edges = std::array<QRgb, 4>;
const Edges kRaised{qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(223, 223, 223), qRgb(128, 128, 128)};
const Edges kSunken{qRgb(128, 128, 128), qRgb(255, 255, 255), qRgb(64, 64, 64), qRgb(223, 223, 223)};

struct Face {
  const char* control;
  QRgb face;
  const Edges* edges;  // none: the face runs to the border
  double share = 0.8;  // of the face inside the bevel that is exactly `face`; the rest is caption
};
const Face kFaces[] = {
    {"a0", qRgb(192, 192, 192), &kRaised},  // a command button in the platform's button face
    {"a1", qRgb(128, 64, 0), &kRaised},
    {"a3", qRgb(224, 224, 224), &kRaised},
    {"Drive1", qRgb(255, 128, 0), &kSunken},
    {"k4", qRgb(224, 224, 224), &kSunken},  // a text box
    // An option button: its indicator and eleven characters cover over a quarter of its face. A
    // shaded or tinted face still fails, as then next to no pixel is exact.
    {"r5", qRgb(255, 0, 0), nullptr, 0.65},
    {"File1", qRgb(0, 192, 0), &kSunken},  // a list box
};

// The whole window as the program opens it, its lists in the folder the tests run in.
using ClassicFaces = testing::OpenWindow;

TEST_F(ClassicFaces, EachKindIsFlatInItsColourInsideItsBevelAtAnyScale) {
  form->click("mp3");  // shows the lists; a widget renders alone, whatever lies over it
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  for (const Face& f : kFaces) {
    for (int scale : {1, 2}) {
      SCOPED_TRACE(std::string(f.control) + " at " + std::to_string(scale) + "x");
      QImage shot(w(f.control)->size() * scale, QImage::Format_RGB32);
      shot.setDevicePixelRatio(scale);
      w(f.control)->render(&shot);
      const int width = shot.width(), height = shot.height(), bevel = 2 * scale;
      const auto at = [&](int x, int y) { return shot.pixel(x, y); };
      int exact = 0;
      for (int y = bevel; y < height - bevel; ++y)
        for (int x = bevel; x < width - bevel; ++x) exact += at(x, y) == f.face;
      EXPECT_GE(exact, f.share * (width - 2 * bevel) * (height - 2 * bevel));
      // Each ring is one logical pixel deep, top and left one colour, bottom and right the other
      // (the corners, where they meet, left out).
      const Edges edges = f.edges ? *f.edges : Edges{f.face, f.face, f.face, f.face};
      int wrong = 0;
      for (int k = 0; k < bevel; ++k) {
        const QRgb topLeft = edges[k / scale * 2], bottomRight = edges[k / scale * 2 + 1];
        for (int x = bevel; x < width - bevel; ++x)
          wrong += (at(x, k) != topLeft) + (at(x, height - 1 - k) != bottomRight);
        for (int y = bevel; y < height - bevel; ++y)
          wrong += (at(k, y) != topLeft) + (at(width - 1 - k, y) != bottomRight);
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST_F(ClassicFaces, OnAnXDisplayTheBandButtonsAndTheDriveListShowTheirColours) {
  if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X display";
  // How far the centre of the control, as the X server holds it, lies from its designed face.
  const auto offBy = [this](const Face& f) {
    QTest::qWait(200);  // drawn and with the server
    const QWidget* control = w(f.control);
    const QPoint c = control->mapTo(view.get(), control->rect().center());
    const QRgb seen = view->screen()->grabWindow(view->winId(), c.x(), c.y(), 1, 1).toImage().pixel(0, 0);
    return std::max({std::abs(qRed(seen) - qRed(f.face)), std::abs(qGreen(seen) - qGreen(f.face)),
                     std::abs(qBlue(seen) - qBlue(f.face))});
  };
  for (const Face& band : {kFaces[0], kFaces[1], kFaces[2]}) EXPECT_LE(offBy(band), 2) << band.control;
  form->click("mp3");
  EXPECT_LE(offBy(kFaces[3]), 2) << kFaces[3].control;
}

// (An X display is where the toolkit would otherwise give it a check mark.)
TEST(ClassicMessageBox, ItsOkButtonCarriesItsCaptionOnly) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kalvori"), QStringLiteral("?"), QMessageBox::Ok);
  EXPECT_TRUE(box.button(QMessageBox::Ok)->icon().isNull());
}

}  // namespace
}  // namespace kalvori::desktop
