// A camera as a stream of photos: finding the cameras the system has (GStreamer's device monitor),
// and a live source that reads one and hands each picture over as an RgbImage, at most 1280 × 720,
// upright as the camera gives it.
//
// Nothing here makes the caller wait. Finding cameras probes every video device, which can take a
// while on a device that hangs: it runs in a thread of its own and answers from there. A source
// makes, starts and stops its pipeline in a thread of its own too; stop() only tells that thread,
// so a camera stuck in its driver holds that thread alone, never the caller, and a fresh start()
// gets a fresh pipeline beside it. Frames come from GStreamer's streaming thread, the newest only:
// the pipeline keeps one and drops older ones, so a slow receiver never makes a queue. What goes
// wrong (the camera busy, gone, unplugged while running, not ours to open) is told once, as a line
// in Chinese, and the source then stops itself.
//
// What it deliberately does not do: show, keep or read a photo, wait for a thread, or hand anything
// to the UI thread (the caller's callbacks do that). It uses no Qt.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "photo/rgb_image.h"

namespace kalvori {

// One camera the system offers.
struct Camera {
  std::string name;         // as the system names it ("HD Webcam C270"), for the chooser
  std::string path;         // its device file ("/dev/video0"), when it has one
  // How to open it: the device the monitor found (opaque here; it makes its own source element),
  // or else a gst-launch description of the source element ("v4l2src device=/dev/video0",
  // "videotestsrc pattern=ball").
  std::shared_ptr<void> device;
  std::string description;
};

// How a background thread is started: the program's own starter, so that its threads are made in
// one place; none given, a detached std::thread. Throws std::system_error when none can be had.
using StartThread = std::function<void(std::function<void()> body)>;

// Finds the cameras (video sources that give raw video) in a thread of its own and calls `answer`
// once, from that thread, with what it found (none: an empty list; GStreamer unusable: likewise).
void findCameras(std::function<void(std::vector<Camera>)> answer, StartThread start = {});

// The largest picture handed over; a larger camera picture is scaled down to fit, its shape kept.
inline constexpr int kMaxCameraWidth = 1280;
inline constexpr int kMaxCameraHeight = 720;

class CameraSource {
 public:
  // Called on GStreamer's streaming thread with each new picture.
  using OnFrame = std::function<void(RgbImage frame)>;
  // Called once, on a thread of the source's (or in start(), when no thread can be had), with why
  // the camera gives no more pictures. Neither callback may call the source.
  using OnError = std::function<void(const std::string& line)>;

  CameraSource(Camera camera, OnFrame onFrame, OnError onError, StartThread start = {});
  // Stops, as stop() does: waits for nothing.
  ~CameraSource();
  CameraSource(const CameraSource&) = delete;
  CameraSource& operator=(const CameraSource&) = delete;

  // Opens the camera and starts its pictures coming. Started already: nothing changes.
  void start();
  // Stops the pictures; the pipeline is taken down in the background. Once it returns, neither
  // callback is called again (for this start), so they may touch what the caller is about to drop.
  void stop();
  // Started and not stopped since (one that has failed counts until stop()).
  bool running() const { return run_ != nullptr; }
  // How many starts, of every source, still have their thread: stopped ones whose pipeline is
  // still being taken down, or is stuck, included.
  static int threadsAlive();

  struct Run;  // one start: its pipeline and the thread that drives it

 private:
  Camera camera_;
  OnFrame onFrame_;
  OnError onError_;
  StartThread start_;
  std::shared_ptr<Run> run_;
};

}  // namespace kalvori
