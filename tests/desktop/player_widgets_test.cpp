// The player's lists and transport row on the screen, offscreen, with a recording device and
// folders made for the test.
#include "desktop/player_widgets.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "desktop/form_widget.h"
#include "support/fake_media_device.h"
#include "support/temp_folder.h"
#include "support/qt_helpers.h"
#include "window/main_window.h"

namespace kalvori::desktop {
namespace {

namespace fs = std::filesystem;
using Log = std::vector<std::string>;

class PlayerOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root + "/歌 曲/.hidden");
    fs::create_directories(root + "/歌 曲/live");
    for (const char* f : {"/歌 曲/b.mp3", "/歌 曲/A%20#.WAV", "/歌 曲/readme.txt", "/歌 曲/live/x.mid"})
      std::ofstream(root + f);
    form = createMainWindow(&device, files, root + "/歌 曲");
    view = std::make_unique<FormWidget>(*form, &device, &files);
    form->load();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    form->click("mp3");
    settle();
    device.log.clear();
  }
  QListWidget* list(const char* name) { return static_cast<QListWidget*>(view->widgetFor(name)); }
  // The lists are read in a worker: waits until both show their folder.
  void settle() {
    auto filling = [&](const char* name) { return static_cast<FolderContents*>(list(name))->filling(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !filling("Dir1") && !filling("File1"); }, 5000));
  }
  QStringList texts(QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text().trimmed();
    return out;
  }

  testing::TempFolder temp{"kalvori-lists"};
  std::string root = temp.path();
  testing::RecordingMediaDevice device;
  FileBrowser files{[this] { return std::vector<Volume>{{root, "TEST", true}}; },
                    [] { return std::vector<OpticalDrive>{{"/dev/sr9", ""}}; }};
  std::unique_ptr<Form> form;
  std::unique_ptr<FormWidget> view;
};

TEST_F(PlayerOnScreen, ListsShowTheFolderAndAClickPlays) {
  const QStringList folders = texts(list("Dir1"));
  ASSERT_GE(folders.size(), 3);
  EXPECT_EQ(folders.front(), "/");
  EXPECT_EQ(folders.back(), "live");           // subfolders after the chain, hidden ones left out
  EXPECT_EQ(folders[folders.size() - 2], QString::fromUtf8("歌 曲"));
  EXPECT_EQ(texts(list("File1")), (QStringList{"A%20#.WAV", "b.mp3"}));

  QListWidget* fileList = list("File1");
  QTest::mouseClick(fileList->viewport(), Qt::LeftButton, {}, fileList->visualItemRect(fileList->item(0)).center());
  EXPECT_EQ(device.log, (Log{"close", "file:" + root + "/歌 曲/A%20#.WAV", "open", "play"}));

  // Opening a folder refills the files and forgets the chosen one.
  QListWidget* folderList = list("Dir1");
  const QPoint live = folderList->visualItemRect(folderList->item(folderList->count() - 1)).center();
  QTest::mouseClick(folderList->viewport(), Qt::LeftButton, {}, live);  // a double-click starts with a click
  EXPECT_EQ(form->control("Dir1").path, root + "/歌 曲");
  QTest::mouseDClick(folderList->viewport(), Qt::LeftButton, {}, live);
  settle();
  EXPECT_EQ(form->control("Dir1").path, root + "/歌 曲/live");
  EXPECT_EQ(texts(list("File1")), QStringList{"x.mid"});
  EXPECT_EQ(form->control("File1").fileName, "");
  EXPECT_EQ(texts(list("Dir1")).back(), "live");
}

// What most users do: a double-click plays the file once. Enter chooses the current entry too.
TEST_F(PlayerOnScreen, ADoubleClickOrEnterChoosesAFileOnce) {
  QListWidget* fileList = list("File1");
  const QPoint at = fileList->visualItemRect(fileList->item(1)).center();
  QTest::mouseClick(fileList->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(fileList->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(device.log, (Log{"close", "file:" + root + "/歌 曲/b.mp3", "open", "play"}));
  device.log.clear();
  fileList->setFocus();
  fileList->setCurrentRow(0);
  QTest::keyClick(fileList, Qt::Key_Return);
  EXPECT_EQ(device.log, (Log{"close", "file:" + root + "/歌 曲/A%20#.WAV", "open", "play"}));
  // Enter held down: the keyboard repeats it, and the file is still chosen once.
  device.log.clear();
  QTest::keyPress(fileList, Qt::Key_Return);
  for (int i = 0; i < 5; ++i) {
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(fileList, &repeat);
  }
  QTest::keyRelease(fileList, Qt::Key_Return);
  EXPECT_EQ(device.log, (Log{"close", "file:" + root + "/歌 曲/A%20#.WAV", "open", "play"}));
}

TEST_F(PlayerOnScreen, ADiscDriveWithoutADiscIsRefused) {
  auto* drives = static_cast<QComboBox*>(view->widgetFor("Drive1"));
  const QString before = drives->currentText();
  EXPECT_EQ(before, QString::fromStdString(root + "  [TEST]"));
  const int disc = drives->findText(QString::fromUtf8("/dev/sr9  [光驱]"));
  ASSERT_GE(disc, 0);
  testing::MessageBoxAnswerer answerer;
  drives->setCurrentIndex(disc);
  emit drives->activated(disc);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].text, QString::fromUtf8("请插入光盘"));
  EXPECT_EQ(drives->currentText(), before);
  EXPECT_EQ(form->control("Dir1").path, root + "/歌 曲");
}

TEST_F(PlayerOnScreen, TransportButtonsFollowTheDevice) {
  auto* transport = static_cast<TransportWidget*>(view->widgetFor("MMControl1"));
  auto enabled = [&] {
    std::string s;
    for (int i = 0; i < 3; ++i) s += transport->button(i)->isEnabled() ? "1" : "0";
    return s;
  };
  using S = MediaDevice::State;
  EXPECT_EQ(enabled(), "000");
  device.become(S::Stopped);
  EXPECT_EQ(enabled(), "100");
  device.become(S::Playing);
  EXPECT_EQ(enabled(), "011");
  device.become(S::Paused);
  EXPECT_EQ(enabled(), "101");
  // Each stands above its label, a third of the control wide, with its icon once the row is shown.
  EXPECT_EQ(transport->button(1)->width(), transport->width() / 3);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(transport->button(i)->icon().isNull()) << i;
  QTest::mouseClick(transport->button(2), Qt::LeftButton);
  QTest::mouseClick(transport->button(0), Qt::LeftButton);
  device.become(S::Playing);
  QTest::mouseClick(transport->button(1), Qt::LeftButton);
  EXPECT_EQ(device.log, (Log{"stop", "play", "pause"}));
}

}  // namespace
}  // namespace kalvori::desktop
