// The whole program once, as a user meets it: started exactly as main() starts it, every view and
// every mode visited with real clicks, the three information boxes answered, each media format
// played through the real GStreamer device, and the window closed. Run under LeakSanitizer
// (nothing may be left unfreed) and under strace (nothing written, nothing reached, nothing
// started).
//
//   kalvori_tour --make FOLDER             copies one file of each format into FOLDER, then exits
//   kalvori_tour [--default-sinks] FOLDER  the tour, started in FOLDER
//
// Playback goes through fake sinks that keep real time; --default-sinks gives playbin its own
// sinks, as the program has them, for looking at what a real desktop's sound and video stacks do.
// Exits non-zero when a step did not do what it should, so that a tour that silently went nowhere
// fails too.
#include <QAbstractButton>  // the message box answerer presses one
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "desktop/player_widgets.h"
#include "desktop/program.h"
#include "support/qt_helpers.h"
#include "support/test_media.h"
#include "support/media_probe.h"

namespace {

namespace fs = std::filesystem;
using kalvori::MediaDevice;
using kalvori::desktop::FormWidget;

const char* const kFormats[] = {"one second.wav", "tone.mid", "picture.avi", "picture.mpg", "tone.mp3"};

// Each mode with a reading entered band by band.
struct ModeBands {
  const char* mode;
  const char* bands[5];
};
const ModeBands kReadings[] = {
    {"r5", {"a1", "b0", "c0", "d2", "e0"}}, {"r4", {"b4", "c7", "d3", "e1"}},  {"l4", {"b1", "c04", "dl2", "e2"}},
    {"c", {"b4", "c7", "dc4"}},              {"tr", {"b4", "c7", "d2"}},
};

class Tour {
 public:
  Tour(FormWidget& window, kalvori::GstMediaDevice& device) : window_(window), form_(window.form()), device_(device) {}

  int run() {
    for (const ModeBands& r : kReadings) {
      click(r.mode);
      expect(form_.control(r.mode).value, r.mode, "mode not selected");
      for (const char* band : r.bands)
        if (band) click(band);
      expect(!form_.control("k4").text.empty(), r.mode, "no multiplier read");
    }
    click("W1");
    click("w3");
    click("mp3");
    expect(form_.isShown("File1"), "mp3", "player not shown");
    click("xxx");
    // The drive list opened and closed again, and up one folder and back into this one.
    click("Drive1");
    static_cast<QComboBox*>(window_.widgetFor("Drive1"))->hidePopup();
    const std::string here = form_.control("Dir1").path;
    openFolder(fs::path(here).parent_path().string());
    openFolder(here);
    expect(form_.control("File1").path == here, "Dir1", "not back in the starting folder");
    for (const char* file : kFormats) play(file);
    click("xilie");
    expect(form_.isShown("F2"), "xilie", "reference panel not shown");
    click("fanhui2");
    expect(!form_.isShown("F2") && form_.isShown("File1"), "fanhui2", "player not shown");
    click("f1");
    expect(!form_.isShown("zov"), "f1", "converter not shown");
    click("kkk");  // the last file again, from the converter
    expect(playsTo(100), "kkk", "does not play");
    click("ttt");
    expect(device_.state() == MediaDevice::State::Stopped, "ttt", "does not stop");
    click("texing");
    expect(form_.isShown("F2"), "texing", "reference panel not shown");
    click("fanhui1");
    expect(!form_.isShown("zov"), "fanhui1", "converter not shown");
    expect(answerer_.seen.size() == 3, "W1 w3 xxx", "not three message boxes");
    return failures_;
  }

 private:
  // A real mouse click in the middle of the control's widget.
  void click(const char* name) {
    QTest::mouseClick(window_.widgetFor(name), Qt::LeftButton);
    QApplication::processEvents();
  }
  // Double-clicks the folder's entry in the folder list.
  void openFolder(const std::string& folder) {
    auto* list = static_cast<QListWidget*>(window_.widgetFor("Dir1"));
    listed(list);
    for (int i = 0; i < list->count(); ++i) {
      if (list->item(i)->data(Qt::UserRole).toByteArray().toStdString() != folder) continue;
      const QPoint at = list->visualItemRect(list->item(i)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);  // a double-click starts with a click
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
      return expect(form_.control("Dir1").path == folder, "Dir1", "folder not opened");
    }
    expect(false, "Dir1", "folder not listed");
  }
  // Clicks the file's entry in the file list, as a user does, and lets it play for a while.
  void play(const char* file) {
    auto* list = static_cast<QListWidget*>(window_.widgetFor("File1"));
    listed(list);
    const auto found = list->findItems(QString::fromUtf8(file), Qt::MatchExactly);
    if (found.size() != 1) return expect(false, file, "not listed");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
    expect(playsTo(150), file, "does not play");
  }
  // The lists are read in a worker: waits until this one shows its folder.
  static void listed(QListWidget* list) {
    (void)QTest::qWaitFor([list] { return !static_cast<kalvori::desktop::FolderContents*>(list)->filling(); }, 10000);
  }
  bool playsTo(long long ms) {
    return QTest::qWaitFor([&] { return positionNs(device_).value_or(0) >= ms * 1'000'000; }, 10000);
  }
  void expect(bool ok, const char* step, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "tour: %s: %s\n", step, what);
    ++failures_;
  }

  FormWidget& window_;
  kalvori::Form& form_;
  kalvori::GstMediaDevice& device_;
  kalvori::testing::MessageBoxAnswerer answerer_;
  int failures_ = 0;
};

// Made afresh: whatever an earlier run left there goes first.
int makeMedia(const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* file : kFormats) fs::copy_file(kalvori::testing::media() / file, folder / file);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--make") == 0) return makeMedia(argv[2]);
  const bool defaultSinks = argc == 3 && std::strcmp(argv[1], "--default-sinks") == 0;
  if (argc != 2 && !defaultSinks) {
    std::fprintf(stderr, "usage: %s [--make | --default-sinks] FOLDER\n", argv[0]);
    return 2;
  }
  // The program starts in the folder it was started from.
  fs::current_path(argv[argc - 1]);
  const kalvori::GstMediaDevice::Sinks sinks =
      defaultSinks ? kalvori::GstMediaDevice::Sinks{} : kalvori::GstMediaDevice::Sinks{"fakesink sync=true",
                                                                                        "fakesink sync=true"};

  // From here on as in main().
  QApplication app(argc, argv);
  kalvori::desktop::ProgramOptions options;
  options.sinks = sinks;
  const auto program = kalvori::desktop::startProgram(app, std::move(options));
  FormWidget& window = *program->window;

  int failures = 0;
  QTimer::singleShot(0, [&] {
    if (!QTest::qWaitForWindowExposed(&window)) ++failures;
    failures += Tour(window, *program->media).run();
    window.close();  // the last window closed ends the event loop, as a user's close does
  });
  const int status = QApplication::exec();
  return status != 0 ? status : failures != 0;
}
