// One case of the stall benchmark: the whole window, started as main() starts it, does what a user
// does in that case while a probe measures the longest time the event loop went without turning.
// run.sh mounts the test file system and runs each case in a fresh process (see README.md).
//
//   ui_stalls --make FOLDER           writes the media files the cases play
//   ui_stalls CASE LOCAL SHARE [SHARE2 STALLED]
//                                     runs a case; LOCAL is a folder on a sound disk, SHARE the
//                                     slow or hung mount (its control file in $KALVORI_CONTROL),
//                                     SHARE2 a second one that can hang ($KALVORI_CONTROL2),
//                                     STALLED one whose reads can stall mid-file ($KALVORI_CONTROL3)
//
// Prints "CASE stall MS" (and for "memory" the resident set after the first and the last file);
// "close" prints the moment the window was closed, CLOCK_REALTIME in seconds, for run.sh to compare
// with the moment the process was gone.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "desktop/player_widgets.h"
#include "desktop/program.h"
#include "support/test_media.h"
#include "support/media_probe.h"

namespace {

namespace fs = std::filesystem;
using kalvori::MediaDevice;

double realtimeNow() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The longest time the event loop went without running a 5 ms timer, a stall still going on
// included.
class StallProbe {
 public:
  StallProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      longest_ = std::max(longest_, clock_.nsecsElapsed() - last_);
      last_ = clock_.nsecsElapsed();
    });
  }
  void start() {
    clock_.start();
    last_ = 0;
    longest_ = 0;
    timer_.start(5);
  }
  double longestMs() const { return static_cast<double>(std::max(longest_, clock_.nsecsElapsed() - last_)) / 1e6; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0, longest_ = 0;
};

// The threads the process holds now, its own and the libraries' alike.
int threadCount() {
  int n = 0;
  for ([[maybe_unused]] const auto& task : fs::directory_iterator("/proc/self/task")) ++n;
  return n;
}

double residentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Adds a word to the control file named by the environment variable `control`.
void tell(const char* control, const std::string& word) {
  if (const char* file = std::getenv(control)) std::ofstream(file, std::ios::app) << word << "\n";
}

// Holds the share: a call on its "/.hang" by another process takes the file system's only thread
// until the control file says otherwise.
void hangShare(const std::string& share, const char* control = "KALVORI_CONTROL") {
  tell(control, "hang");
  const std::string target = share + "/.hang";
  const char* argv[] = {"stat", target.c_str(), nullptr};
  // Its output goes nowhere: run.sh reads this program's until every holder of it is gone.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  posix_spawnp(&child, "stat", &quiet, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&quiet);
  usleep(200'000);  // (the child is left to run.sh, which releases the share after the case)
}

int makeMedia(const fs::path& folder) {
  fs::create_directories(folder);
  kalvori::testing::writeFile(folder / "one.wav", kalvori::testing::wavBytes(1.0));
  kalvori::testing::writeFile(folder / "two.wav", kalvori::testing::wavBytes(1.0));
  kalvori::testing::writeFile(folder / "long.wav", kalvori::testing::wavBytes(30.0));
  kalvori::testing::writeFile(folder / "tone.mid", kalvori::testing::midiBytes(2.0));
  return 0;
}

class Case {
 public:
  Case(kalvori::desktop::FormWidget& window, kalvori::Form& form, kalvori::GstMediaDevice& device, std::string local,
       std::string share, std::string share2, std::string stalled)
      : window_(window),
        form_(form),
        device_(device),
        local_(std::move(local)),
        share_(std::move(share)),
        share2_(std::move(share2)),
        stalled_(std::move(stalled)) {}

  // Returns what to print.
  std::string run(const std::string& name) {
    char line[400];
    if (name == "memory") {
      form_.click("mp3");
      playOne("one.wav");
      const double first = residentMiB();
      for (int i = 1; i < 500; ++i) playOne(i % 2 ? "two.wav" : "one.wav");
      QTest::qWait(500);
      std::snprintf(line, sizeof line, "memory rss-after-1 %.1f MiB, rss-after-500 %.1f MiB, ratio %.2f", first,
                    residentMiB(), residentMiB() / first);
      return line;
    }
    StallProbe probe;
    probe.start();
    if (name == "drives") {
      form_.click("mp3");
      QTest::qWait(100);
      auto* drives = static_cast<QComboBox*>(window_.widgetFor("Drive1"));
      drives->showPopup();
      QTest::qWait(100);
      drives->hidePopup();
      // The hung share chosen: whether it can be read is asked, and the answer never comes.
      const int share = drives->findText(QString::fromStdString(share_), Qt::MatchStartsWith);
      if (share >= 0) {
        drives->setCurrentIndex(share);
        emit drives->activated(share);
      }
      QTest::qWait(300);
    } else if (name == "slow-folder" || name == "link") {
      form_.click("mp3");
      settle(3000);
      probe.start();
      form_.openFolder("Dir1", name == "link" ? local_ + "/withlink" : share_ + "/slow");
      settle(name == "link" ? 2000 : 6000);
    } else if (name == "leave-mid") {
      form_.click("mp3");
      settle(3000);
      playOne("one.wav");  // GStreamer started, so that only the MIDI file counts
      probe.start();
      form_.chooseFile("File1", "tone.mid");
      QTest::qWait(30);
      form_.chooseFile("File1", "one.wav");
      QTest::qWait(500);
    } else if (name == "clicks") {
      form_.click("mp3");
      settle(3000);
      playOne("one.wav");
      probe.start();
      const char* files[] = {"one.wav", "tone.mid", "two.wav", "long.wav"};
      auto* transport = window_.widgetFor("MMControl1");
      const auto buttons = transport->findChildren<QToolButton*>();
      for (int i = 0; i < 50; ++i) {
        if (i % 2 == 0) form_.chooseFile("File1", files[(i / 2) % 4]);
        else QTest::mouseClick(buttons[static_cast<qsizetype>(i / 2) % buttons.size()], Qt::LeftButton);
        QTest::qWait(20);
      }
      QTest::qWait(300);
    } else if (name == "stalled-share" || name == "close") {
      form_.click("mp3");
      form_.openFolder("Dir1", share_);
      settle(3000);
      form_.chooseFile("File1", "long.wav");
      (void)QTest::qWaitFor([&] { return positionNs(device_).value_or(0) > 200'000'000; }, 5000);
      hangShare(share_);
      QTest::qWait(50);
      probe.start();
      if (name == "close") {
        form_.openFolder("Dir1", local_ + "/withlink");  // a link into the share, stat'ed now
        QTest::qWait(100);
        std::printf("closed-at %.3f\n", realtimeNow());
        std::fflush(stdout);
        window_.close();
        return {};
      }
      form_.chooseFile("File1", "one.wav");
      QTest::qWait(500);
    } else if (name == "storms") {
      // What a hostile user does to a hung share: 200 visits to a folder on it, 200 choices of a
      // file on it and 200 switches to its drive, each time back and forth with a local one.
      // Then a local file must still play.
      form_.click("mp3");
      settle(3000);
      playOne("one.wav");
      form_.setCommand("MMControl1", "close");
      QTest::qWait(300);
      const int idle = threadCount();
      hangShare(share_);
      if (!share2_.empty()) hangShare(share2_, "KALVORI_CONTROL2");
      probe.start();
      const std::string local = local_ + "/plain";
      for (int i = 0; i < 200; ++i) {
        form_.openFolder("Dir1", i % 2 ? local : share_ + "/slow");
        QTest::qWait(1);
      }
      for (int i = 0; i < 200; ++i) {
        form_.openFolder("Dir1", i % 2 ? share_ + "/slow" : share_);
        form_.chooseFile("File1", "one.wav");
        QTest::qWait(1);
      }
      auto* drives = static_cast<QComboBox*>(window_.widgetFor("Drive1"));
      drives->showPopup();
      drives->hidePopup();
      const int shareIndex = drives->findText(QString::fromStdString(share_), Qt::MatchStartsWith);
      for (int i = 0; i < 200 && shareIndex >= 0; ++i) {
        const int index = i % 2 ? 0 : shareIndex;
        drives->setCurrentIndex(index);
        emit drives->activated(index);
        QTest::qWait(1);
      }
      // A share whose reads stop in the middle of a file: two files play, then stall, one after
      // the other; a healthy file of that folder must still play.
      bool healthy = true;
      if (!stalled_.empty()) {
        for (const char* stalling : {"stall1.wav", "stall2.wav"}) {
          form_.openFolder("Dir1", stalled_ + "/stalling");
          form_.chooseFile("File1", stalling);
          healthy = healthy && plays(3000);
          tell("KALVORI_CONTROL3", std::string("stall:") + stalling);
          QTest::qWait(300);
        }
        form_.chooseFile("File1", "one.wav");
        healthy = healthy && plays(3000);
      }
      // Files stuck in opening in three folders of the hung share and of a second hung share.
      if (!share2_.empty()) {
        for (int round = 0; round < 3; ++round) {
          for (const std::string& share : {share_, share2_}) {
            for (const char* folder : {"/a", "/b", "/c"}) {
              form_.openFolder("Dir1", share + folder);
              form_.chooseFile("File1", "one.wav");
              QTest::qWait(20);
            }
          }
        }
      }
      QTest::qWait(300);
      // The last file chosen there gives no sound: it must not be shown as playing.
      const bool lied = !share2_.empty() && device_.state() == MediaDevice::State::Playing;
      const int after = threadCount();
      // A local folder lists, and a local file starts.
      QElapsedTimer started;
      started.start();
      form_.openFolder("Dir1", local);
      auto* files = static_cast<QListWidget*>(window_.widgetFor("File1"));
      const bool listed = QTest::qWaitFor([&] { return files->count() > 0; }, 3000);
      started.start();
      form_.chooseFile("File1", "one.wav");
      const bool played = plays(5000);
      const long long startMs = started.elapsed();
      // And the healthy file of the stalled folder once more, after all that.
      if (!stalled_.empty()) {
        form_.openFolder("Dir1", stalled_ + "/stalling");
        form_.chooseFile("File1", "two.wav");
        healthy = healthy && plays(3000);
      }
      std::snprintf(line, sizeof line,
                    "storms threads idle %d, after %d, own %d; %s; local file %s in %lld ms; %s; %s; stall %.0f ms",
                    idle, after, after - idle,
                    lied ? "a file of a hung share SHOWN AS PLAYING" : "no silent file shown as playing",
                    played ? "started" : "NOT STARTED", startMs,
                    stalled_.empty() ? "no stalled share" : healthy ? "healthy file played" : "healthy file NOT PLAYED",
                    listed ? "local folder listed" : "local folder NOT LISTED", probe.longestMs());
      // The shares answer again, so that hundreds of calls stuck on them (before the threads were
      // bounded) do not hold up the end of the process.
      for (const char* control : {"KALVORI_CONTROL", "KALVORI_CONTROL2", "KALVORI_CONTROL3"})
        if (const char* file = std::getenv(control)) std::ofstream(file).flush();
      return line;
    } else if (name == "first-play") {
      form_.click("mp3");
      settle(3000);
      probe.start();
      form_.chooseFile("File1", "one.wav");
      (void)QTest::qWaitFor([&] { return positionNs(device_).value_or(0) > 100'000'000; }, 10000);
    } else {
      return "unknown case " + name;
    }
    std::snprintf(line, sizeof line, "%s stall %.0f ms", name.c_str(), probe.longestMs());
    return line;
  }

 private:
  void settle(int ms) {
    auto filling = [&](const char* name) {
      return static_cast<kalvori::desktop::FolderContents*>(window_.widgetFor(name))->filling();
    };
    (void)QTest::qWaitFor([&] { return !filling("Dir1") && !filling("File1"); }, ms);
  }
  // Whether the file chosen plays within `ms`: shown as playing, and its position moving.
  bool plays(int ms) {
    return QTest::qWaitFor(
        [&] { return device_.state() == MediaDevice::State::Playing && positionNs(device_).value_or(0) > 20'000'000; },
        ms);
  }
  void playOne(const char* file) {
    form_.chooseFile("File1", file);
    (void)QTest::qWaitFor([&] { return positionNs(device_).value_or(0) > 20'000'000; }, 5000);
  }

  kalvori::desktop::FormWidget& window_;
  kalvori::Form& form_;
  kalvori::GstMediaDevice& device_;
  std::string local_, share_, share2_, stalled_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--make") == 0) return makeMedia(argv[2]);
  if (argc != 4 && argc != 6) {
    std::fprintf(stderr, "usage: %s --make FOLDER | CASE LOCAL SHARE [SHARE2 STALLED]\n", argv[0]);
    return 2;
  }
  const std::string name = argv[1];
  if (name == "start" || name == "drives" || name == "link") hangShare(argv[3]);
  const double startedAt = realtimeNow();

  // From here on as in main(), with fake sinks; "first-play" leaves GStreamer to its first file.
  QApplication app(argc, argv);
  kalvori::desktop::ProgramOptions options;
  options.sinks = {"fakesink sync=true", "fakesink sync=true"};
  options.startGStreamerSoon = name != "first-play";
  const auto program = kalvori::desktop::startProgram(app, std::move(options));
  kalvori::desktop::FormWidget& window = *program->window;

  QTimer::singleShot(0, [&] {
    if (name == "start") {
      (void)QTest::qWaitForWindowExposed(&window);
      std::printf("start stall %.0f ms\n", (realtimeNow() - startedAt) * 1000);
      window.close();
      return;
    }
    (void)QTest::qWaitForWindowExposed(&window);
    QTest::qWait(400);
    const std::string out =
        Case(window, *program->form, *program->media, argv[2], argv[3], argc == 6 ? argv[4] : "", argc == 6 ? argv[5] : "")
            .run(name);
    if (!out.empty()) std::printf("%s\n", out.c_str());
    std::fflush(stdout);
    window.close();
  });
  // Ends as main() does: threads still stuck on a dead share are not there when destructors run.
  return kalvori::desktop::endProcess(QApplication::exec());
}
