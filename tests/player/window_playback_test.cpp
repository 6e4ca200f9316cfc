// Playback end to end: real clicks in the window's file list play real files through the
// GStreamer device (with sinks that keep real time but need no sound card or display).
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>
#include <chrono>

#include "desktop/form_widget.h"
#include "desktop/player_widgets.h"
#include "desktop/qt_handoff.h"
#include "player/gst_media_device.h"
#include "support/test_media.h"
#include "window/main_window.h"
#include "support/media_probe.h"

namespace kalvori::desktop {
namespace {

using State = MediaDevice::State;
constexpr long long kMs = 1'000'000;

class WindowPlayback : public ::testing::Test {
 protected:
  void SetUp() override {
    form = createMainWindow(&device, files, testing::media().dir.string());
    view = std::make_unique<FormWidget>(*form, &device, &files);
    form->load();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    form->click("mp3");
    // The lists are read in a worker.
    auto* files = static_cast<FolderContents*>(view->widgetFor("File1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !files->filling(); }, 5000));
  }
  void TearDown() override {
    view.reset();
    form.reset();
  }
  // Clicks the file's entry in the file list, as a user does.
  void clickFile(const char* name) {
    auto* list = static_cast<QListWidget*>(view->widgetFor("File1"));
    const auto found = list->findItems(QString::fromUtf8(name), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
  }
  // The event loop runs until the device has played to `ns`, or gives up after five seconds.
  bool playsTo(long long ns) {
    return QTest::qWaitFor([&] { return positionNs(device).value_or(0) >= ns; }, 5000);
  }

  QObject answers;  // what the device's reports come back through, gone with the fixture
  GstMediaDevice device{GstMediaDevice::Sinks{"fakesink sync=true", "fakesink sync=true"},
                        desktop::QtHandoff::to(&answers)};
  FileBrowser files;
  std::unique_ptr<Form> form;
  std::unique_ptr<FormWidget> view;
};

TEST_F(WindowPlayback, EachFormatPlaysFromAClick) {
  for (const char* name : {"one second.wav", "tone.mid", "picture.avi", "picture.mpg", "tone.mp3"}) {
    SCOPED_TRACE(name);
    clickFile(name);
    EXPECT_EQ(form->control("File1").fileName, name);
    EXPECT_TRUE(playsTo(150 * kMs)) << "does not play";
    EXPECT_EQ(device.state(), State::Playing);
  }
}

TEST_F(WindowPlayback, PlayingGoesOnInTheConverterWhereReplayAndStopWork) {
  clickFile("one second.wav");
  ASSERT_TRUE(playsTo(100 * kMs));
  form->click("f1");  // back to the converter: it keeps playing
  ASSERT_TRUE(playsTo(300 * kMs));
  EXPECT_EQ(device.state(), State::Playing);
  view->widgetFor("kkk")->setFocus();
  QTest::keyClick(view->widgetFor("kkk"), Qt::Key_Space);  // 播: again from the start
  EXPECT_LT(positionNs(device).value_or(0), 200 * kMs);
  ASSERT_TRUE(playsTo(100 * kMs));
  QTest::mouseClick(view->widgetFor("ttt"), Qt::LeftButton);  // 停
  EXPECT_EQ(device.state(), State::Stopped);
}

// What the pipeline tells later comes back through the window's event loop, whichever it is: the
// test runs once more with QT_NO_GLIB=1 (ctest player.end_reported_without_glib).
TEST_F(WindowPlayback, TheEndOfAShortFileIsReported) {
  clickFile("short.wav");
  ASSERT_TRUE(playsTo(50 * kMs));
  EXPECT_TRUE(QTest::qWaitFor([&] { return device.state() == State::Stopped; }, 3000)) << "still playing";
}

TEST_F(WindowPlayback, AFileThatCannotPlayPlaysNothingAndTheNextOneDoes) {
  for (const char* bad : {"noise.mp3", "empty.wav"}) {
    SCOPED_TRACE(bad);
    clickFile(bad);
    QTest::qWait(300);
    EXPECT_NE(device.state(), State::Playing);
    clickFile("short.wav");
    EXPECT_TRUE(playsTo(100 * kMs));
  }
  // A folder named like a video is not a file, and is not listed as one.
  auto* list = static_cast<QListWidget*>(view->widgetFor("File1"));
  EXPECT_TRUE(list->findItems("folder.avi", Qt::MatchExactly).isEmpty());
}

}  // namespace
}  // namespace kalvori::desktop
