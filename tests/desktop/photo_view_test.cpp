// The photo view on the real window: a pasted image opens it with the proposed line, Esc leaves the
// window as it was, Enter shows the chosen reading by pressing the mode's buttons, a band's colour
// is changed by a click, the arrows move the line's ends and every change is read again, and text
// on the clipboard still goes to the look-up line. The reader is mostly played by hand: the view is
// about what the user sees and presses, not about reading photos; one case reads a painted resistor
// with the program's own reader.
#include <sys/stat.h>

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <fstream>
#include <mutex>

#include "converter/value_reading.h"
#include "desktop/photo_canvas.h"
#include "desktop/photo_readings_strip.h"
#include "desktop/photo_view.h"
#include "marking/band_words.h"
#include "photo_file/photo_file.h"
#include "support/resistor_render.h"
#include "support/form_state.h"
#include "support/open_window.h"
#include "support/temp_folder.h"

namespace kalvori::desktop {
namespace {

using B = Band;
constexpr BodyLine kProposed{{10, 20}, {90, 20}};

// Digits, a multiplier and a tolerance band; no gold or silver digit.
std::optional<BandReading> evaluate(const std::vector<Band>& bands) {
  if (bands.size() < 4 || bands.size() > 5) return std::nullopt;
  std::uint64_t digits = 0;
  for (std::size_t i = 0; i + 2 < bands.size(); ++i) {
    const auto d = bandColour(bands[i]).digit;
    if (!d) return std::nullopt;
    digits = digits * 10 + static_cast<std::uint64_t>(*d);
  }
  const auto tolerance = bandTolerance(bands.back());
  if (!tolerance) return std::nullopt;
  BandReading r;
  r.bands = bands;
  r.ohms = Decimal::of(digits, multiplierPower(bands[bands.size() - 2]));
  r.tolerance = Tolerance(*tolerance);
  return r;
}

// Three readings of any photo along any line: 4.7 kΩ, 47 kΩ (close to it) and a five-band 10 kΩ.
// The lines read are noted, from the worker's thread, which may still be reading when the test
// ends: the reader is shared with it.
struct HandReader : std::enable_shared_from_this<HandReader> {
  std::mutex mutex;
  std::vector<BodyLine> read;

  PhotoReader reader() {
    PhotoReader r;
    r.propose = [](const RgbImage&) { return std::optional<BodyLine>(kProposed); };
    r.read = [self = shared_from_this()](const RgbImage&, std::optional<BodyLine> line) {
      PhotoAnswer a;
      a.line = line.value_or(kProposed);
      {
        const std::lock_guard lock(self->mutex);
        self->read.push_back(a.line);
      }
      for (double at : {0.2, 0.35, 0.5, 0.8}) a.seen.push_back({at, at + 0.05, {B::Black}});
      for (auto [bands, score] : {std::pair{std::vector{B::Yellow, B::Violet, B::Red, B::Gold}, 0.45},
                                  {std::vector{B::Yellow, B::Violet, B::Orange, B::Gold}, 0.35},
                                  {std::vector{B::Brown, B::Black, B::Black, B::Red, B::Brown}, 0.2}}) {
        a.readings.push_back(*evaluate(bands));
        a.readings.back().score = score;
      }
      return a;
    };
    r.strip = [](const RgbImage&, const BodyLine&, int height, int width) { return RgbImage(width, height); };
    r.evaluate = evaluate;
    return r;
  }
  std::optional<BodyLine> last() {
    const std::lock_guard lock(mutex);
    return read.empty() ? std::nullopt : std::optional(read.back());
  }
};

class PhotoWindow : public testing::OpenWindow {
 protected:
  void key(int k, Qt::KeyboardModifiers m = {}) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : view.get(), Qt::Key(k), m);
  }
  PhotoView* photo() const { return static_cast<PhotoView*>(view->findChild<QWidget*>("photoView")); }
  // Pastes an image, and once the view is there, pastes it again to be read by hand.
  PhotoView* pasteImage() {
    QImage image(100, 40, QImage::Format_RGB888);
    image.fill(QColor(230, 230, 230));
    QGuiApplication::clipboard()->setImage(image);
    key(Qt::Key_V, Qt::ControlModifier);
    if (!photo()) return nullptr;
    photo()->worker().setReader(hand->reader());
    key(Qt::Key_V, Qt::ControlModifier);
    return photo();
  }
  bool readingsShown() const { return photo()->readings()->count() == 3; }

  std::shared_ptr<HandReader> hand = std::make_shared<HandReader>();
};

TEST_F(PhotoWindow, PastedImageOpensTheViewWithTheLineAndEscLeavesTheWindowAsItWas) {
  EXPECT_EQ(photo(), nullptr);  // nothing is made before a photo comes
  w("k2")->setFocus();
  const testing::Snapshot before(*form);
  PhotoView* view = pasteImage();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_TRUE(view->holds(QApplication::focusWidget()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return view->canvas()->line() == kProposed; }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return readingsShown(); }, 5000));
  // Both likely readings are offered, neither as certain.
  EXPECT_TRUE(view->status().contains("差不多")) << view->status().toStdString();
  EXPECT_TRUE(view->readings()->words(0).contains("把握 45%")) << view->readings()->words(0).toStdString();
  for (QWidget* c : view->findChildren<QWidget*>()) {  // a screen reader names every control
    if (c->focusPolicy() == Qt::NoFocus || !c->isVisible()) continue;
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty()) << c->objectName().toStdString();
  }

  key(Qt::Key_5);  // a digit in the view types nothing onto the band buttons
  key(Qt::Key_Escape);
  EXPECT_FALSE(view->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), w("k2"));
  EXPECT_EQ(before.changesIn(*form), testing::Changes{});

  ASSERT_EQ(pasteImage(), view);  // it opens again
  EXPECT_TRUE(view->isVisible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return readingsShown(); }, 5000));
}

TEST_F(PhotoWindow, EnterPressesTheButtonsOfTheChosenReadingAndRefusesBandsOfNoResistor) {
  PhotoView* view = pasteImage();
  ASSERT_TRUE(QTest::qWaitFor([&] { return readingsShown(); }, 5000));
  key(Qt::Key_R);  // gold first: no resistor
  EXPECT_TRUE(view->readings()->words(0).contains("不是电阻的色环"));
  const testing::Snapshot before(*form);
  key(Qt::Key_Return);
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(before.changesIn(*form), testing::Changes{});
  view->findChild<QPushButton*>("photoFlip")->click();  // and back
  view->readings()->setBand(0, 3, B::Red);  // ±2 %: neither mode has the button
  key(Qt::Key_Return);
  EXPECT_TRUE(view->status().contains("显示不了")) << view->status().toStdString();
  EXPECT_EQ(before.changesIn(*form), testing::Changes{});
  view->readings()->setBand(0, 3, B::Gold);

  key(Qt::Key_Return);
  EXPECT_FALSE(view->isVisible());
  EXPECT_TRUE(form->control("r4").value);
  EXPECT_EQ(ValueReading(*form).text(), "4,700Ω 误差率＋－5％");
  for (auto [label, colour] : {std::pair{"t7", "黄"}, {"t8", "紫"}, {"t9", "红"}, {"t10", "金"}})
    EXPECT_EQ(form->control(label).caption, colour) << label;

  pasteImage();
  ASSERT_TRUE(QTest::qWaitFor([&] { return readingsShown(); }, 5000));
  key(Qt::Key_3);  // five bands: the five-band mode
  key(Qt::Key_Return);
  EXPECT_TRUE(form->control("r5").value);
  EXPECT_EQ(ValueReading(*form).text(), "10,000Ω 误差率＋－1％");
}

TEST_F(PhotoWindow, AClickOnABandOffersTheColoursAndTheBandsAreReadAgain) {
  PhotoView* view = pasteImage();
  ASSERT_TRUE(QTest::qWaitFor([&] { return readingsShown(); }, 5000));
  PhotoReadingsStrip* readings = view->readings();
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions())
      if (a->text().startsWith("橙")) a->trigger();
    menu->close();
  });
  QTest::mouseClick(readings, Qt::LeftButton, {}, readings->bandRect(0, 2).center());
  EXPECT_EQ(readings->row(0).reading.bands[2], B::Orange);
  EXPECT_EQ(readings->row(0).reading.ohms, Decimal::of(47, 3));
  EXPECT_TRUE(readings->words(0).contains("改过"));  // its share no longer applies
}

TEST_F(PhotoWindow, ArrowsMoveTheChosenEndTabTheOtherAndEveryChangeIsRead) {
  PhotoView* view = pasteImage();
  ASSERT_TRUE(QTest::qWaitFor([&] { return readingsShown(); }, 5000));
  PhotoCanvas* canvas = view->canvas();
  ASSERT_TRUE(canvas->hasFocus());
  key(Qt::Key_Right);
  key(Qt::Key_Down, Qt::ShiftModifier);
  key(Qt::Key_Tab);  // the other end, the keyboard still on the photo
  EXPECT_TRUE(canvas->hasFocus());
  key(Qt::Key_Left);
  const BodyLine moved{{11, 30}, {89, 20}};
  EXPECT_TRUE(canvas->line() == moved);
  ASSERT_TRUE(QTest::qWaitFor([&] { return hand->last() == moved; }, 5000));
  key(Qt::Key_Tab);  // then on to the readings, never to the window under the view
  EXPECT_EQ(QApplication::focusWidget(), view->readings());
  for (int i = 0; i < 6; ++i) key(Qt::Key_Tab);
  EXPECT_TRUE(view->holds(QApplication::focusWidget()));

  // The wheel zooms about the pointer, which stays over the same point of the photo; 0 fits again.
  const double fitted = canvas->scale();
  const QPointF at = canvas->toCanvas({30, 20});
  QWheelEvent wheel(at, canvas->mapToGlobal(at), {}, {0, 240}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(canvas, &wheel);
  EXPECT_GT(canvas->scale(), fitted);
  EXPECT_NEAR(canvas->toPhoto(at).x, 30, 0.01);
  canvas->setFocus();
  key(Qt::Key_0);
  EXPECT_EQ(canvas->scale(), fitted);

  // A line drawn along the body replaces it.
  const QPoint from = canvas->toCanvas({20, 10}).toPoint(), to = canvas->toCanvas({80, 30}).toPoint();
  QTest::mousePress(canvas, Qt::LeftButton, {}, from);
  QTest::mouseMove(canvas, to);
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
  ASSERT_TRUE(canvas->line());
  EXPECT_NEAR(canvas->line()->to.x, 80, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return hand->last() == canvas->line(); }, 5000));
}

TEST_F(PhotoWindow, TextOnTheClipboardGoesToTheLookUpLineAndABadFileIsRefusedPlainly) {
  auto* both = new QMimeData;
  both->setImageData(QImage(10, 10, QImage::Format_RGB888));
  both->setText("4k7");
  QGuiApplication::clipboard()->setMimeData(both);
  key(Qt::Key_V, Qt::ControlModifier);
  auto* input = view->findChild<QLineEdit*>("lookupInput");
  ASSERT_NE(input, nullptr);
  EXPECT_TRUE(input->isVisible());
  EXPECT_EQ(input->text(), "4k7");
  EXPECT_EQ(photo(), nullptr);

  // A dropped file that is no photo, under an awkward name, and one that has gone: each says why.
  // (A drop reaches the window only in a drag the window system runs; the view takes it from there.)
  ASSERT_NE(pasteImage(), nullptr);
  const testing::TempFolder folder("photo-view");
  const std::string name = folder.path() + "/坏 #1 %.jpg";
  std::ofstream(name) << "not a photo";
  for (auto [path, why] : {std::pair{name, "不是照片"}, {folder.path() + "/gone.png", "找不到"}}) {
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    ASSERT_TRUE(photo()->openFrom(&dropped, true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return photo()->status() != "正在读…"; }, 5000));
    EXPECT_FALSE(photo()->canvas()->hasPhoto());
    EXPECT_TRUE(photo()->status().contains(why)) << photo()->status().toStdString();
  }
}

// The whole way with the program's own reader: a painted resistor pasted, its line proposed and
// read, and Enter shows the best reading on the window.
TEST_F(PhotoWindow, APaintedResistorPastedIsReadAndShownOnTheWindow) {
  test::ResistorScene scene;
  scene.bands = {B::Orange, B::Orange, B::Black, B::Gold};
  scene.angle = 0.3;
  QGuiApplication::clipboard()->setImage(imageFromPhoto(test::renderResistor(scene)));
  key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_NE(photo(), nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return photo()->readings()->count() > 0; }, 10000)) << photo()->status().toStdString();
  EXPECT_TRUE(photo()->canvas()->hasPhoto());
  // A camera can be had from here too (its view is tested with a camera of its own: this one would
  // look for the machine's cameras on a thread still running when the test ends).
  EXPECT_TRUE(photo()->findChild<QPushButton*>("photoCamera")->isVisible());
  key(Qt::Key_Return);
  EXPECT_FALSE(photo()->isVisible());
  EXPECT_TRUE(form->control("r4").value);
  EXPECT_EQ(ValueReading(*form).text(), "33Ω 误差率＋－5％");
}

// A pipe named like a photo, whose writer never comes, is refused at once rather than waited for,
// and a photo pasted next reads as ever.
TEST_F(PhotoWindow, APipeIsRefusedWithoutWaiting) {
  const testing::TempFolder folder("photo-view-pipe");
  const std::string pipe = folder.path() + "/照片 #2.jpg";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ASSERT_NE(pasteImage(), nullptr);
  QMimeData dropped;
  dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(pipe))});
  ASSERT_TRUE(photo()->openFrom(&dropped, true));
  ASSERT_TRUE(QTest::qWaitFor([&] { return photo()->status() != "正在读…"; }, 5000));
  EXPECT_TRUE(photo()->status().contains("不是普通文件")) << photo()->status().toStdString();
  key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return readingsShown(); }, 5000));
  key(Qt::Key_Escape);
  EXPECT_FALSE(photo()->isVisible());
}

}  // namespace
}  // namespace kalvori::desktop
