// One opened file of the media device (gst_media_device.h): its pipeline, the queue of what its
// thread is asked to do, and what the device judges it by (how long its thread has been in a call
// on storage). Only the device's own source and the tests' probe (tests/support/media_probe.h)
// include this.
//
// What it deliberately does not do: decide anything; the device decides, the session's thread
// carries out.
#pragma once

#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "player/gst_media_device.h"

namespace kalvori {

namespace media_session {
using Clock = std::chrono::steady_clock;
// A call on storage that answers takes milliseconds: one that has not come back within a second is
// stuck.
inline constexpr auto kNoAnswer = std::chrono::seconds(1);
}  // namespace media_session

// What a session's thread is asked to do: the commands, in the order given, and what the pipeline
// tells from its own threads.
enum class GstMediaDevice::Step : int { Play, Stop, Pause, Close, EndOfStream, Failed, Reached, ClockLost };

struct GstMediaDevice::Session {
  unsigned serial = 0;
  std::string path;  // absolute
  std::string mount;  // the mount point it lies on
  Sinks sinks;
  std::function<media_session::Clock::time_point()> now;
  std::shared_ptr<std::atomic<int>> pipelines;
  std::weak_ptr<GstMediaDevice*> device;
  std::shared_ptr<Handoff> handoff;
  bool started = false;                 // it has a thread (UI thread only)
  std::atomic<media_session::Clock::rep> blockedSince = 0;  // while its thread is in a call on storage: since when
  std::atomic<bool> ended = false;           // its thread is done

  // Whether its thread has been in a call on storage for longer than storage that answers takes.
  bool stuck(media_session::Clock::time_point at) const {
    const media_session::Clock::rep since = blockedSince;
    return since != 0 && at - media_session::Clock::time_point(media_session::Clock::duration(since)) > media_session::kNoAnswer;
  }
  // Makes a call that may wait for the storage, noting meanwhile that the thread is in it.
  template <class Call>
  auto onStorage(Call call) {
    blockedSince = std::max<media_session::Clock::rep>(1, now().time_since_epoch().count());
    auto result = call();
    blockedSince = 0;
    return result;
  }

  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::pair<Step, unsigned>> steps;  // with the number of commands given when it was queued
  GstElement* playbin = nullptr;                // set and cleared by the thread; read by the tests' probe
  std::atomic<bool> errorLogged = false;

  void push(Step step, unsigned sent) {
    {
      const std::lock_guard lock(mutex);
      steps.emplace_back(step, sent);
    }
    wake.notify_one();
  }
  std::pair<Step, unsigned> next() {
    std::unique_lock lock(mutex);
    wake.wait(lock, [this] { return !steps.empty(); });
    const auto step = steps.front();
    steps.pop_front();
    return step;
  }
  GstElement* pipeline() {
    const std::lock_guard lock(mutex);
    return playbin ? GST_ELEMENT(gst_object_ref(playbin)) : nullptr;
  }

  // The thread's whole work: open the file, carry out the steps, release the pipeline.
  static void drive(const std::shared_ptr<Session>& s);
  static GstElement* open(const std::shared_ptr<Session>& s);
  void release(GstElement* pipeline);
  void report(unsigned sent, State state, bool playing, bool closed) const {
    if (!handoff) return;
    handoff->post([device = device, serial = serial, sent, state, playing, closed] {
      if (const auto d = device.lock()) (*d)->heard(serial, sent, state, playing, closed);
    });
  }
  // Its thread has opened the file, or ended: a file waiting for a thread may have its turn.
  void moved() const {
    if (!handoff) return;
    handoff->post([device = device] {
      if (const auto d = device.lock()) (*d)->startWaiting();
    });
  }
};


}  // namespace kalvori
