// The camera source fed by GStreamer's test picture instead of a camera: pictures of the right size
// and colour, a quick stop that leaves no thread behind, and a source that cannot work told once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "photo/camera_source.h"

namespace kalvori {
namespace {

using namespace std::chrono_literals;
// Only to catch a hang: a picture normally comes within a fraction of a second.
constexpr auto kLimit = 20s;

// What a source handed over, gathered from its threads.
struct Received {
  std::mutex mutex;
  std::condition_variable changed;
  int frames = 0;
  RgbImage last;
  std::vector<std::string> errors;

  template <class Done>
  bool waitFor(Done done) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, kLimit, [&] { return done(*this); });
  }
};

std::unique_ptr<CameraSource> sourceOf(const std::string& description, Received& r) {
  Camera camera;
  camera.name = "test";
  camera.description = description;
  return std::make_unique<CameraSource>(
      camera,
      [&r](RgbImage frame) {
        const std::lock_guard lock(r.mutex);
        ++r.frames;
        r.last = std::move(frame);
        r.changed.notify_all();
      },
      [&r](const std::string& line) {
        const std::lock_guard lock(r.mutex);
        r.errors.push_back(line);
        r.changed.notify_all();
      });
}

long threads() {
  return std::distance(std::filesystem::directory_iterator("/proc/self/task"), std::filesystem::directory_iterator{});
}

template <class Done>
bool eventually(Done done) {
  const auto until = std::chrono::steady_clock::now() + kLimit;
  while (!done() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(20ms);
  return done();
}

TEST(CameraSource, ASolidPictureArrivesInItsColourAndSize) {
  // 50 pixels of RGB make rows of 150 bytes, which GStreamer pads to 152.
  Received r;
  auto source = sourceOf("videotestsrc pattern=red ! video/x-raw,format=RGB,width=50,height=30", r);
  source->start();
  ASSERT_TRUE(r.waitFor([](Received& x) { return x.frames > 0; }));
  source->stop();
  const std::lock_guard lock(r.mutex);
  ASSERT_EQ(r.last.width, 50);
  ASSERT_EQ(r.last.height, 30);
  for (int y : {0, 15, 29})
    for (int x : {0, 25, 49}) {
      const std::uint8_t* p = r.last.pixel(x, y);
      EXPECT_EQ(p[0], 255) << x << "," << y;
      EXPECT_EQ(p[1], 0);
      EXPECT_EQ(p[2], 0);
    }
  EXPECT_TRUE(r.errors.empty());
}

// A camera sending its large pictures as JPEG, as many do.
TEST(CameraSource, ALargeJpegPictureIsDecodedAndScaledDownInShape) {
  Received r;
  auto source = sourceOf("videotestsrc ! video/x-raw,width=1920,height=1080 ! jpegenc", r);
  source->start();
  ASSERT_TRUE(r.waitFor([](Received& x) { return x.frames > 0; }));
  source->stop();
  const std::lock_guard lock(r.mutex);
  EXPECT_EQ(r.last.width, kMaxCameraWidth);
  EXPECT_EQ(r.last.height, kMaxCameraHeight);
}

TEST(CameraSource, StoppingIsQuickSilentAndLeavesNoThread) {
  Received r;
  auto source = sourceOf("videotestsrc pattern=ball ! video/x-raw,width=320,height=240", r);
  source->start();
  ASSERT_TRUE(r.waitFor([](Received& x) { return x.frames > 0; }));
  source->stop();
  ASSERT_TRUE(eventually([] { return CameraSource::threadsAlive() == 0; }));
  const long idle = threads();  // GStreamer started, its pool as it stays

  for (int i = 0; i < 40; ++i) {
    source->start();
    if (i % 8 == 0) {
      int seen = 0;
      ASSERT_TRUE(r.waitFor([&seen](Received& x) { return seen != 0 ? x.frames > seen : (seen = x.frames, false); }));
    }
    const auto before = std::chrono::steady_clock::now();
    source->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);  // it only tells the source's thread
  }
  int frames = 0;
  {
    const std::lock_guard lock(r.mutex);
    frames = r.frames;
  }
  EXPECT_TRUE(eventually([] { return CameraSource::threadsAlive() == 0; }));
  // A few of GStreamer's pool threads may linger a while; a thread per start would not.
  EXPECT_TRUE(eventually([idle] { return threads() <= idle + 2; }));
  const std::lock_guard lock(r.mutex);
  EXPECT_EQ(r.frames, frames) << "a picture was handed over after stop()";
  EXPECT_TRUE(r.errors.empty());
}

TEST(CameraSource, ACameraStuckOpeningHoldsOnlyItsOwnThread) {
  // A FIFO without a writer holds whoever opens it, as a driver that hangs holds a camera's open.
  char dir[] = "/tmp/kalvori-camera-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string fifo = std::string(dir) + "/camera";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  Received stuckR, liveR;
  auto stuck = sourceOf("filesrc location=" + fifo + " ! rawvideoparse format=rgb width=8 height=8", stuckR);
  stuck->start();
  std::this_thread::sleep_for(200ms);  // most likely in the open by now; either way it must hold
  const auto stopping = std::chrono::steady_clock::now();
  stuck->stop();
  EXPECT_LT(std::chrono::steady_clock::now() - stopping, 1s);
  auto live = sourceOf("videotestsrc", liveR);
  live->start();
  EXPECT_TRUE(liveR.waitFor([](Received& x) { return x.frames > 0; }));
  live->stop();
  EXPECT_TRUE(eventually([] { return CameraSource::threadsAlive() == 1; }));  // the stuck one's
  // Let it go: pictures keep coming through the FIFO (the source may open it more than once) until
  // its thread has taken the pipeline down and ended, telling nothing.
  const int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  const std::string picture(8 * 8 * 3, '\x7f');
  EXPECT_TRUE(eventually([&] { return (void)!::write(writer, picture.data(), picture.size()), CameraSource::threadsAlive() == 0; }));
  ::close(writer);
  const std::lock_guard lock(stuckR.mutex);
  EXPECT_TRUE(stuckR.errors.empty());
  std::filesystem::remove_all(dir);
}

TEST(CameraSource, WhatStopsThePicturesIsToldOnce) {
  for (const auto& [description, line] : {std::pair{"nosuchelement ! video/x-raw", "打不开摄像头：这个画面来源无法建立"},
                                          std::pair{"v4l2src device=/dev/no-such-camera", "摄像头已拔出或找不到了"},
                                          std::pair{"videotestsrc num-buffers=3", "摄像头不再送来画面"}}) {
    Received r;
    auto source = sourceOf(description, r);
    source->start();
    ASSERT_TRUE(r.waitFor([](Received& x) { return !x.errors.empty(); }));
    ASSERT_TRUE(eventually([] { return CameraSource::threadsAlive() == 0; }));  // nothing more to come
    source->stop();
    const std::lock_guard lock(r.mutex);
    EXPECT_EQ(r.errors, std::vector<std::string>{line});
  }
}

TEST(CameraSource, FindingCamerasAnswers) {
  // Whatever this machine has (usually none): the search must answer, from its own thread.
  Received r;
  int answers = 0;
  findCameras([&](std::vector<Camera> cameras) {
    const std::lock_guard lock(r.mutex);
    ++answers;
    for (const Camera& c : cameras) EXPECT_FALSE(c.name.empty());
    r.changed.notify_all();
  });
  EXPECT_TRUE(r.waitFor([&](Received&) { return answers == 1; }));
}

}  // namespace
}  // namespace kalvori
