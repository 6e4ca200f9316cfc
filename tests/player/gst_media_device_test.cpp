// The GStreamer media device with fake sinks that keep real time: small files made in a temporary
// folder are played through the device, which is watched through its state and the pipeline's
// position while the test runs what the device hands back, as the program's event loop does.
#include "player/gst_media_device.h"

#include "player/background_worker.h"
#include "player/log_line.h"
#include "support/queued_handoff.h"
#include "support/test_media.h"
#include "support/media_probe.h"

#include <gst/gst.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <numbers>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace kalvori {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using State = MediaDevice::State;

constexpr long long kMs = 1'000'000;

GstMediaDevice::Sinks fakeSinks() { return {"fakesink sync=true", "fakesink sync=true"}; }

// What the devices hand back to the UI thread, which the tests play.
const std::shared_ptr<testing::QueuedHandoff>& answers() {
  static const auto handoff = std::make_shared<testing::QueuedHandoff>();
  return handoff;
}

// Runs what the devices hand back until `done` holds or the time is up; returns `done`.
template <class Done>
bool runUntil(Done done, std::chrono::milliseconds timeout = 5s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!answers()->runPosted()) std::this_thread::sleep_for(2ms);
  }
  return true;
}

void runFor(std::chrono::milliseconds time) {
  runUntil([] { return false; }, time);
}

// Files count as lying on the mount named by their folder when that begins with "dead", else all
// on one local mount; the device's clock is the handoff's, which stands still until a test moves it.
GstMediaDevice::Storage testStorage() {
  return {[](const std::string& path) {
            const fs::path folder = fs::path(path).parent_path();
            return folder.filename().string().starts_with("dead") ? folder.string() : std::string("local");
          },
          [] { return answers()->now(); }};
}

// Counts the reads of the clock by sessions' threads, which may outlive the test.
GstMediaDevice::Storage countingStorage(std::shared_ptr<std::atomic<int>> calls) {
  GstMediaDevice::Storage storage = testStorage();
  storage.now = [calls, ui = std::this_thread::get_id()] {
    if (std::this_thread::get_id() != ui) ++*calls;
    return answers()->now();
  };
  return storage;
}

bool reaches(const GstMediaDevice& device, long long ns) {
  return runUntil([&] { return positionNs(device).value_or(0) >= ns; });
}

using testing::media;
using testing::midiBytes;
using testing::wavBytes;
using testing::writeFile;

class GstMediaDeviceTest : public ::testing::Test {
 protected:
  void open(const std::string& name) {
    device.setFileName(media() / name);
    device.command("open");
  }
  // Plays the file just opened and expects it to play from its beginning, shown as playing only
  // once its pipeline plays.
  void expectPlayStartsAtTheBeginning() {
    const State before = device.state();
    device.command("play");
    EXPECT_EQ(device.state(), before);
    EXPECT_TRUE(runUntil([&] { return device.state() == State::Playing; })) << "never shown as playing";
    long long first = -1;
    EXPECT_TRUE(runUntil([&] {
      if (auto position = positionNs(device); position && first < 0) first = *position;
      return positionNs(device).value_or(0) >= 150 * kMs;
    })) << "does not play";
    EXPECT_LT(first, 100 * kMs) << "does not start at the beginning";
    EXPECT_EQ(device.state(), State::Playing);
  }
  void expectPlaysFromStart(const std::string& path) {
    device.setFileName(path);
    device.command("open");
    EXPECT_EQ(device.state(), State::Stopped);
    expectPlayStartsAtTheBeginning();
  }

  // How often a session's thread has gone into a call on storage: each reads the clock first.
  std::shared_ptr<std::atomic<int>> storageCalls = std::make_shared<std::atomic<int>>(0);
  GstMediaDevice device{fakeSinks(), answers(), countingStorage(storageCalls)};
};

// ---- Start-up and commands without a file

// In a process of its own, so that no other test has started GStreamer yet.
TEST(GstMediaDeviceStartup, ConstructingAndCommandsBeforeOpenDoNotStartGStreamer) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        GstMediaDevice device;
        device.setDeviceType("MPEGVideo");
        device.setFileName("/nowhere/at all.wav");
        for (const char* command : {"play", "stop", "close", "close", "seek", ""}) device.command(command);
        device.pause();
        const bool quiet = device.state() == State::Closed && !positionNs(device) && pipelineReleased(device);
        std::exit(gst_is_initialized() ? 1 : quiet ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(GstMediaDeviceStartup, SinksThatCannotBeMadeLeaveTheDeviceSilent) {
  GstMediaDevice device({"no-such-sink", "fakesink no-such-property=1"}, answers(), testStorage());
  device.setFileName(media() / "one second.wav");
  device.command("open");
  device.command("play");
  runUntil([&] { return device.state() == State::Closed; });  // the pipeline is made off this thread
  EXPECT_EQ(device.state(), State::Closed);
  device.command("close");
  EXPECT_TRUE(pipelineReleased(device));
}

// ---- Transport

TEST_F(GstMediaDeviceTest, StopKeepsTheFileOpenAndPlayResumesWhereItStopped) {
  expectPlaysFromStart(media() / "one second.wav");
  device.command("stop");
  EXPECT_EQ(device.state(), State::Stopped);
  ASSERT_TRUE(runUntil([&] { return positionNs(device).has_value(); }));
  const long long stoppedAt = *positionNs(device);
  runFor(200ms);
  EXPECT_NEAR(static_cast<double>(positionNs(device).value_or(-1)), static_cast<double>(stoppedAt), 30.0 * kMs)
      << "still playing after stop";
  EXPECT_FALSE(pipelineReleased(device));

  device.command("play");
  EXPECT_TRUE(runUntil([&] { return device.state() == State::Playing; }));
  EXPECT_GE(positionNs(device).value_or(0), stoppedAt - 30 * kMs) << "started over";
  EXPECT_TRUE(reaches(device, stoppedAt + 150 * kMs));
}

TEST_F(GstMediaDeviceTest, TransportStatesAndTheListener) {
  std::vector<State> seen;
  device.setStateListener([&](State state) { seen.push_back(state); });
  device.pause();  // nothing open
  open("one second.wav");
  device.command("stop");  // open and not playing already
  device.pause();          // only pauses what plays
  device.command("play");
  device.command("play");
  device.pause();  // not yet playing
  EXPECT_EQ(device.state(), State::Stopped);
  ASSERT_TRUE(runUntil([&] { return device.state() == State::Playing; }));
  device.pause();
  ASSERT_TRUE(runUntil([&] { return positionNs(device).has_value(); }));
  const long long pausedAt = positionNs(device).value_or(0);
  runFor(150ms);
  EXPECT_LT(positionNs(device).value_or(0), pausedAt + 30 * kMs) << "still playing while paused";
  device.pause();
  device.command("play");
  ASSERT_TRUE(runUntil([&] { return device.state() == State::Playing; }));
  device.command("stop");
  device.command("rewind");  // not a command of this device
  device.command("close");
  EXPECT_EQ(seen, (std::vector{State::Stopped, State::Playing, State::Paused, State::Playing, State::Stopped,
                               State::Closed}));
}

TEST_F(GstMediaDeviceTest, StopFromPauseAndCloseWhilePaused) {
  open("one second.wav");
  device.command("play");
  ASSERT_TRUE(runUntil([&] { return device.state() == State::Playing; }));
  device.pause();
  device.command("stop");
  EXPECT_EQ(device.state(), State::Stopped);
  device.command("play");
  ASSERT_TRUE(runUntil([&] { return device.state() == State::Playing; }));
  device.pause();
  device.command("close");
  EXPECT_EQ(device.state(), State::Closed);
  EXPECT_TRUE(pipelineReleased(device));
}

TEST_F(GstMediaDeviceTest, CloseReleasesEverythingAndIsHarmlessAgain) {
  std::vector<State> seen;
  device.setStateListener([&](State state) { seen.push_back(state); });
  device.command("close");  // nothing open yet
  EXPECT_EQ(device.state(), State::Closed);
  expectPlaysFromStart(media() / "one second.wav");
  device.command("close");
  EXPECT_EQ(device.state(), State::Closed);
  EXPECT_TRUE(pipelineReleased(device));
  EXPECT_FALSE(positionNs(device));
  device.command("close");
  for (const char* command : {"play", "stop"}) device.command(command);
  device.pause();
  EXPECT_EQ(device.state(), State::Closed);
  EXPECT_TRUE(pipelineReleased(device));
  runFor(100ms);
  EXPECT_EQ(device.state(), State::Closed);
  EXPECT_EQ(seen, (std::vector{State::Stopped, State::Playing, State::Closed}));  // each change once
}

TEST_F(GstMediaDeviceTest, OpeningAnotherFilePlaysItFromItsBeginning) {
  expectPlaysFromStart(media() / "one second.wav");
  EXPECT_TRUE(reaches(device, 400 * kMs));
  // Straight from playing, without "close".
  open("other.wav");
  EXPECT_EQ(device.state(), State::Stopped);
  runFor(150ms);
  EXPECT_LT(positionNs(device).value_or(0), 50 * kMs) << "plays before \"play\"";
  expectPlayStartsAtTheBeginning();
  // And after "close".
  device.command("close");
  expectPlaysFromStart(media() / "one second.wav");
}

TEST_F(GstMediaDeviceTest, EndOfStreamKeepsTheFileOpenAndThenPlaysFromTheStart) {
  std::vector<State> seen;
  device.setStateListener([&](State state) { seen.push_back(state); });
  open("short.wav");
  device.command("play");
  ASSERT_TRUE(runUntil([&] { return device.state() == State::Playing; }));
  ASSERT_TRUE(runUntil([&] { return device.state() == State::Stopped; }));
  EXPECT_FALSE(pipelineReleased(device));
  const auto atStart = [&] {
    const auto position = positionNs(device);
    return position && *position < 20 * kMs;
  };
  EXPECT_TRUE(runUntil(atStart)) << "not back at the start";
  runFor(100ms);
  EXPECT_TRUE(atStart());
  device.command("play");
  EXPECT_TRUE(reaches(device, 100 * kMs));
  EXPECT_TRUE(runUntil([&] { return device.state() == State::Playing; }));
  EXPECT_TRUE(runUntil([&] { return device.state() == State::Stopped; }));
  EXPECT_EQ(seen, (std::vector{State::Stopped, State::Playing, State::Stopped, State::Playing, State::Stopped}));
}

// ---- Formats

class GstMediaDeviceFormats : public GstMediaDeviceTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(GstMediaDeviceFormats, Plays) {
  expectPlaysFromStart(media() / GetParam());
  EXPECT_TRUE(reaches(device, 300 * kMs));
  device.command("close");
  EXPECT_TRUE(pipelineReleased(device));
}

INSTANTIATE_TEST_SUITE_P(, GstMediaDeviceFormats,
                         ::testing::Values("one second.wav", "tone.mid", "picture.avi", "picture.mpg", "tone.mp3"),
                         [](const auto& info) {
                           std::string name = fs::path(info.param).extension().string().substr(1);
                           return name;
                         });

// A MIDI file plays silently when no soundfont is installed; this one must make a sound.
std::atomic<int> midiPeak{0};
void measurePeak(GstElement*, GstBuffer* buffer, GstPad*, gpointer) {
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) return;
  const auto* samples = reinterpret_cast<const int16_t*>(map.data);
  int peak = midiPeak;
  for (gsize i = 0; i < map.size / 2; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  midiPeak = peak;
  gst_buffer_unmap(buffer, &map);
}

TEST(GstMediaDeviceMidi, DecodesToSound) {
  const std::string pipeline = "filesrc location=\"" + media() / "tone.mid" +
                               "\" ! midiparse ! fluiddec ! audioconvert ! audio/x-raw,format=S16LE"
                               " ! fakesink name=sink signal-handoffs=true";
  GstElement* bin = gst_parse_launch(pipeline.c_str(), nullptr);
  ASSERT_NE(bin, nullptr);
  GstElement* sink = gst_bin_get_by_name(GST_BIN(bin), "sink");
  g_signal_connect(sink, "handoff", G_CALLBACK(measurePeak), nullptr);
  gst_object_unref(sink);
  gst_element_set_state(bin, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(bin);
  GstMessage* end = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND,
                                               static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(GST_MESSAGE_TYPE(end), GST_MESSAGE_EOS);
  gst_message_unref(end);
  gst_object_unref(bus);
  gst_element_set_state(bin, GST_STATE_NULL);
  gst_object_unref(bin);
  EXPECT_GT(midiPeak.load(), 1000) << "silent: is a General MIDI soundfont installed (fluid-soundfont-gm)?";
}

// ---- Files that cannot be played, and file names

class GstMediaDeviceBadFiles : public GstMediaDeviceTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(GstMediaDeviceBadFiles, PlayNothingAndTheNextFilePlays) {
  if (std::string(GetParam()) == "unreadable.wav" && geteuid() == 0) {
    GTEST_SKIP() << "root reads a file without read permission";
  }
  std::vector<State> seen;
  device.setStateListener([&](State state) { seen.push_back(state); });
  open(GetParam());
  device.command("play");
  EXPECT_TRUE(runUntil([&] { return device.state() == State::Closed; })) << "still not closed";
  EXPECT_EQ(std::count(seen.begin(), seen.end(), State::Playing), 0) << "shown as playing";
  EXPECT_TRUE(pipelineReleased(device));
  EXPECT_FALSE(positionNs(device));
  // A file that is missing or no file at all fails on "open" itself and never leaves Closed.
  if (!seen.empty()) {
    EXPECT_EQ(seen.back(), State::Closed);
  }
  device.command("play");  // ignored: nothing is open
  EXPECT_EQ(device.state(), State::Closed);
  expectPlaysFromStart(media() / "one second.wav");
}

INSTANTIATE_TEST_SUITE_P(, GstMediaDeviceBadFiles,
                         ::testing::Values("noise.mp3", "empty.wav", "folder.avi", "deleted.wav", "unreadable.wav",
                                           "loop-a.wav"),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace_if(
                               name.begin(), name.end(),
                               [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                           return name;
                         });

// The lines the program logs while one lives.
class KalvoriLog {
 public:
  KalvoriLog() {
    before_ = replaceLogSink([this](const std::string& line) {
      const std::lock_guard lock(mutex_);
      lines_.push_back(line);
    });
  }
  ~KalvoriLog() { replaceLogSink(before_); }
  std::vector<std::string> lines() {
    const std::lock_guard lock(mutex_);
    return lines_;
  }
  // Those that name `path`.
  std::vector<std::string> about(const std::string& path) {
    std::vector<std::string> found;
    for (const std::string& line : lines())
      if (line.starts_with(path + ": ")) found.push_back(line);
    return found;
  }

 private:
  LogSink before_;
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

// The user sees nothing, but standard error gets one line: file, element, message.
TEST_F(GstMediaDeviceTest, AFileThatCannotBePlayedLeavesOneLogLine) {
  KalvoriLog log;
  open("noise.mp3");
  EXPECT_TRUE(runUntil([&] { return device.state() == State::Closed; }));
  runFor(100ms);
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_TRUE(log.lines()[0].starts_with(media() / "noise.mp3" + ": ")) << log.lines()[0];
}

TEST_F(GstMediaDeviceTest, FileNamesAreTakenByteForByte) {
  // '%20' must not become a space, '#' must not start a fragment, and a name that is not UTF-8
  // is still a name.
  for (const std::string name : {"with space.wav", "hash#1.wav", "per%20cent.wav", "100%.wav", "电阻色环.wav",
                                 "latin1 \xe9t\xe9.wav", "\xff\xfe.wav"}) {
    SCOPED_TRACE(name);
    const fs::path path = fs::path(media().dir) / name;
    fs::copy_file(media().dir / "one second.wav", path);
    expectPlaysFromStart(path.string());
    device.command("close");
    fs::remove(path);
  }
}

TEST_F(GstMediaDeviceTest, RelativeNamesAreTakenFromTheWorkingFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(media().dir);
  device.setFileName("one second.wav");
  device.command("open");
  fs::current_path(before);  // the name was made absolute on "open"
  device.command("play");
  EXPECT_TRUE(reaches(device, 150 * kMs));
}

// ---- Everything at once

TEST_F(GstMediaDeviceTest, ACommandStormEndsCleanly) {
  const std::vector<std::string> files = {"one second.wav", "short.wav",   "tone.mid",  "picture.avi",
                                          "noise.mp3",      "deleted.wav", "folder.avi"};
  const std::vector<std::string> commands = {"open", "play", "stop", "close", "pause", "junk"};
  std::mt19937 random(2024);
  bool good = false;  // whether the file opened last can be played
  for (int step = 0; step < 400; ++step) {
    const std::string& command = commands[random() % commands.size()];
    const State before = device.state();
    const bool open = before != State::Closed;
    // A broken file may be found out by any command that changes the pipeline's state.
    const auto expectState = [&](State state) {
      if (good || device.state() != State::Closed) {
        EXPECT_EQ(device.state(), state) << command << " at step " << step;
      }
    };
    if (command == "open") {
      const std::size_t file = random() % files.size();
      good = file < 4;
      this->open(files[file]);
      expectState(State::Stopped);
    } else if (command == "pause") {
      device.pause();
      expectState(before == State::Playing ? State::Paused : before);
    } else {
      // "play" shows nothing new until the pipeline plays.
      device.command(command);
      const State expected = command == "close"          ? State::Closed
                             : command == "stop" && open ? State::Stopped
                                                         : before;
      expectState(expected);
    }
    if (random() % 4 == 0) runFor(std::chrono::milliseconds(random() % 20));
  }
  device.command("close");
  expectPlaysFromStart(media() / "one second.wav");
}

TEST(GstMediaDeviceLifetime, DestroyingWhilePlayingReleasesEverything) {
  for (const char* name : {"one second.wav", "picture.mpg", "noise.mp3"}) {
    SCOPED_TRACE(name);
    auto device = std::make_unique<GstMediaDevice>(fakeSinks(), answers(), testStorage());
    device->setFileName(media() / name);
    device->command("open");
    device->command("play");
    runFor(100ms);
    device.reset();
    runFor(50ms);  // the bus watch must be gone with the device
  }
}

// ---- Storage that does not answer, and no thread to be had

// A FIFO nobody writes to holds the thread that opens it, as a dead share does; writing to it lets
// that thread go. The device's clock moves only when the test moves it.
class StuckStorage : public GstMediaDeviceTest {
 protected:
  ~StuckStorage() override {
    // Storage that answers again (each open of a FIFO finds a writer that leaves at once): the
    // stuck threads end.
    std::atomic<bool> released = false;
    std::thread writer([&] {
      while (!released) {
        for (const std::string& fifo : fifos)
          if (const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) close(fd);
        std::this_thread::sleep_for(5ms);
      }
    });
    device.command("close");
    stalled = false;
    for (std::thread& t : stalling) t.join();
    EXPECT_TRUE(runUntil([&] { return pipelineReleased(device); }, 20s));
    released = true;
    writer.join();
    for (const std::string& fifo : fifos) fs::remove_all(fs::path(fifo).parent_path());
  }
  // A FIFO in the folder `dead`, which is a mount of its own.
  std::string fifo(const std::string& dead, int i) {
    const fs::path folder = fs::path(media().dir) / dead;
    fs::create_directories(folder);
    fifos.push_back(folder / ("stuck" + std::to_string(i) + ".wav"));
    EXPECT_EQ(mkfifo(fifos.back().c_str(), 0600), 0);
    return fifos.back();
  }
  // A FIFO of the mount `dead` whose writer gives a second of sound and then nothing, without
  // closing: as a share whose reads stop in the middle of a file, it plays, then stalls, and once
  // given up its thread is stuck in its release.
  std::string stallingFile(const std::string& dead, int i) {
    const std::string path = fifo(dead, i);
    stalling.emplace_back([this, path] {
      // A reader that lets go before the whole file is written (a pipeline given up mid-read)
      // leaves this write with EPIPE: the signal that would come with it must not end the test.
      sigset_t pipe;
      sigemptyset(&pipe);
      sigaddset(&pipe, SIGPIPE);
      pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
      const int fd = ::open(path.c_str(), O_WRONLY);  // once the file is opened
      const std::string wav = testing::wavBytes(1.0);
      (void)!::write(fd, wav.data(), wav.size());
      while (stalled) std::this_thread::sleep_for(5ms);
      ::close(fd);
    });
    return path;
  }
  // Opens `count` FIFOs of the mount `dead`, each with its thread in the FIFO's open.
  void stick(const std::string& dead, int count) {
    for (int i = 0; i < count; ++i) {
      const int before = *storageCalls;
      device.setFileName(fifo(dead, i));
      device.command("open");
      ASSERT_EQ(device.state(), State::Stopped) << dead << " " << i << " gets a thread";
      ASSERT_TRUE(runUntil([&] { return *storageCalls > before; })) << "its thread never went into the open";
    }
  }
  std::vector<std::string> fifos;
  std::atomic<bool> stalled = true;
  std::vector<std::thread> stalling;
  KalvoriLog log;
};

TEST_F(StuckStorage, AFileOfAMountWhoseFilesAreStuckWaitsThenIsRefusedWhileOtherMountsPlay) {
  expectPlaysFromStart(media() / "one second.wav");  // GStreamer started
  device.command("close");
  ASSERT_TRUE(pipelineReleased(device));
  stick("dead share", 3);
  const std::string waiting = fifo("dead share", 3);
  // Its mount's threads are taken but not yet known to be stuck: it waits, shown as not playing.
  device.setFileName(waiting);
  device.command("open");
  device.command("play");
  EXPECT_EQ(device.state(), State::Stopped);
  runFor(50ms);
  EXPECT_EQ(device.state(), State::Stopped);
  EXPECT_TRUE(log.lines().empty());
  // A second on: the timer judges it again, and it is refused with one line naming it.
  answers()->advance(1500ms);
  EXPECT_TRUE(runUntil([&] { return device.state() == State::Closed; }));
  ASSERT_EQ(log.about(waiting).size(), 1u);
  EXPECT_NE(log.about(waiting)[0].find("does not answer"), std::string::npos) << log.about(waiting)[0];
  // The next is refused at once, and a file of another mount plays.
  const std::string next = fifo("dead share", 4);
  device.setFileName(next);
  device.command("open");
  EXPECT_EQ(device.state(), State::Closed);
  EXPECT_EQ(log.about(next).size(), 1u);
  expectPlaysFromStart(media() / "one second.wav");
}

// Files left stalled count as stuck while their release hangs: a healthy file of their share plays
// while it still has a thread of its own, and once it has not, is refused with a line.
TEST_F(StuckStorage, FilesStuckInTheirReleaseCountAndAHealthyFileOfTheirSharePlaysUntilTheyAreThree) {
  const std::string healthy = fifo("dead share", 9) + ".wav";
  fs::copy_file(media() / "one second.wav", healthy);
  expectPlaysFromStart(stallingFile("dead share", 0));
  expectPlaysFromStart(stallingFile("dead share", 1));  // the first, given up, is stuck in its release
  expectPlaysFromStart(healthy);                         // and so is the second: the share has a third thread
  // The healthy file lets go at once. Until it has, the next file would wait for a thread, judged
  // again by a clock this test holds still: wait for the release instead.
  device.command("close");
  ASSERT_TRUE(pipelinesAtMost(device, 2));
  expectPlaysFromStart(stallingFile("dead share", 2));
  // Left for the healthy file, the third is stuck in its release too: the file waits, is judged
  // again by the clock, and is refused.
  const int before = *storageCalls;
  device.setFileName(healthy);
  device.command("open");
  ASSERT_TRUE(runUntil([&] { return *storageCalls > before; })) << "the third never began its release";
  EXPECT_EQ(device.state(), State::Stopped);
  answers()->advance(1500ms);
  EXPECT_TRUE(runUntil([&] { return device.state() == State::Closed; }));
  ASSERT_EQ(log.about(healthy).size(), 1u);
  EXPECT_NE(log.about(healthy)[0].find("3 files there are stuck"), std::string::npos) << log.about(healthy)[0];
  expectPlaysFromStart(media() / "one second.wav");
}

TEST_F(StuckStorage, AtTheCapAFileWaitsUntilAThreadIsFreeAndIsRefusedOnceAllAreStuck) {
  expectPlaysFromStart(media() / "one second.wav");
  device.command("close");
  ASSERT_TRUE(pipelineReleased(device));
  for (const char* dead : {"dead 1", "dead 2", "dead 3", "dead 4"}) stick(dead, 3);  // twelve threads
  device.setFileName(media() / "one second.wav");
  device.command("open");
  device.command("play");
  runFor(50ms);
  EXPECT_EQ(device.state(), State::Stopped) << "a file waiting for a thread is not playing";
  answers()->advance(1500ms);
  EXPECT_TRUE(runUntil([&] { return device.state() == State::Closed; }));
  ASSERT_EQ(log.about(media() / "one second.wav").size(), 1u);
  EXPECT_NE(log.about(media() / "one second.wav")[0].find("all 12 threads"), std::string::npos);
}

TEST_F(GstMediaDeviceTest, WithNoThreadToBeHadAFileIsRefusedWithALogLine) {
  KalvoriLog log;
  const ThreadStarter before = replaceThreadStarter([](std::function<void()>) {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  open("one second.wav");
  replaceThreadStarter(before);
  EXPECT_EQ(device.state(), State::Closed);
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_NE(log.lines()[0].find("no thread"), std::string::npos) << log.lines()[0];
  expectPlaysFromStart(media() / "one second.wav");
}

}  // namespace
}  // namespace kalvori
