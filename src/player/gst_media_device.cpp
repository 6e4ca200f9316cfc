#include "player/gst_media_device.h"

#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "player/background_worker.h"
#include "player/gst_session.h"
#include "player/log_line.h"
#include "player/mounted_volumes.h"

namespace kalvori {

namespace {

// Gives playbin the sink that `description` (gst-launch syntax) makes; an empty description keeps
// playbin's own. False when the description does not make a sink completely: a misspelt element or
// property counts as failure rather than a half-built sink.
bool useSink(GstElement* playbin, const char* property, const std::string& description) {
  if (description.empty()) return true;
  GError* error = nullptr;
  GstElement* sink = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
  if (error != nullptr) {
    g_error_free(error);
    if (sink != nullptr) gst_object_unref(gst_object_ref_sink(sink));
    return false;
  }
  g_object_set(playbin, property, sink, nullptr);
  return true;
}

// autovideosink tries the video sinks in turn until one works. Those that take over the whole
// screen never do inside a desktop session, and cost a lot to find that out: KMS's probes for
// seconds, DirectFB's has crashed the process. A window program never wants them.
void leaveOutFullScreenSinks() {
  for (const char* name : {"kmssink", "dfbvideosink"}) {
    if (GstPluginFeature* sink = gst_registry_lookup_feature(gst_registry_get(), name)) {
      gst_plugin_feature_set_rank(sink, GST_RANK_NONE);
      gst_object_unref(sink);
    }
  }
}

// GStreamer hands the bus handler its data in threads of its own, under locks that ThreadSanitizer
// cannot see (GLib's are futexes of its own): these tell it that the handler's data was handed
// over, so that what the handler reads is known to have been written before.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
template <class T>
T* handOver(T* data) {
  __tsan_release(data);
  return data;
}
void takenOver(void* data) { __tsan_acquire(data); }
#else
template <class T>
T* handOver(T* data) {
  return data;
}
void takenOver(void*) {}
#endif

// Starts GStreamer once, whichever thread asks first; the others wait for that one.
bool gstreamerReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    ready = gst_init_check(nullptr, nullptr, nullptr);
    if (ready) leaveOutFullScreenSinks();
  });
  return ready;
}

// Sessions alive at most, stuck ones included, in all and on one mount; a further file waits for a
// thread until one of those is done. A call on storage that answers takes milliseconds: one that
// has not come back within a second is stuck, and once a mount's sessions are all stuck a further
// file from there is refused (kNoAnswer, gst_session.h). Three dead shares then hold nine threads,
// and a local file still plays. A file that waits is judged again each quarter of a second.
constexpr std::size_t kSessionLimit = 12;
constexpr std::size_t kPerMount = 3;
constexpr auto kJudgeAgain = std::chrono::milliseconds(250);

using media_session::Clock;

}  // namespace

GstElement* GstMediaDevice::Session::open(const std::shared_ptr<Session>& s) {
  const Sinks& sinks = s->sinks;
  if (!gstreamerReady()) return nullptr;
  GstElement* made = gst_element_factory_make("playbin", nullptr);
  if (made == nullptr) return nullptr;
  GstElement* pipeline = GST_ELEMENT(gst_object_ref_sink(made));
  ++*s->pipelines;
  if (!useSink(pipeline, "audio-sink", sinks.audio) || !useSink(pipeline, "video-sink", sinks.video)) {
    s->release(pipeline);
    return nullptr;
  }
  gchar* uri = gst_filename_to_uri(s->path.c_str(), nullptr);
  if (uri == nullptr) {
    s->release(pipeline);
    return nullptr;
  }
  // The library made the URI: it escapes every byte that needs it ('#', '%', spaces, non-UTF-8).
  g_object_set(pipeline, "uri", uri, nullptr);
  g_free(uri);

  // The end of the file and errors are told from GStreamer's threads; they become steps of this
  // thread, in turn with the commands. Nothing else on the bus is wanted, so nothing stays on it.
  GstBus* bus = gst_element_get_bus(pipeline);
  gst_bus_set_sync_handler(
      bus,
      [](GstBus*, GstMessage* message, gpointer data) -> GstBusSyncReply {
        // A message dropped here is the handler's to unref.
        takenOver(data);
        const auto session = static_cast<std::weak_ptr<Session>*>(data)->lock();
        if (!session) {
          gst_message_unref(message);
          return GST_BUS_DROP;
        }
        switch (GST_MESSAGE_TYPE(message)) {
          case GST_MESSAGE_EOS: session->push(Step::EndOfStream, 0); break;
          case GST_MESSAGE_CLOCK_LOST: session->push(Step::ClockLost, 0); break;
          case GST_MESSAGE_STATE_CHANGED: {
            // The pipeline itself (it has no parent) now plays: sound is coming.
            GstState now = GST_STATE_VOID_PENDING;
            gst_message_parse_state_changed(message, nullptr, &now, nullptr);
            if (now == GST_STATE_PLAYING && GST_OBJECT_PARENT(GST_MESSAGE_SRC(message)) == nullptr)
              session->push(Step::Reached, 0);
            break;
          }
          case GST_MESSAGE_ERROR: {
            // The user sees nothing; one line on standard error says what went wrong, and where.
            if (!session->errorLogged.exchange(true)) {
              GError* error = nullptr;
              gst_message_parse_error(message, &error, nullptr);
              logLine(session->path + ": " + (GST_MESSAGE_SRC_NAME(message) ? GST_MESSAGE_SRC_NAME(message) : "?") +
                      ": " + (error ? error->message : "error"));
              if (error) g_error_free(error);
            }
            session->push(Step::Failed, 0);
            break;
          }
          default: break;
        }
        gst_message_unref(message);
        return GST_BUS_DROP;
      },
      handOver(new std::weak_ptr<Session>(s)),
      [](gpointer data) {
        takenOver(data);
        delete static_cast<std::weak_ptr<Session>*>(data);
      });
  gst_object_unref(bus);
  {
    const std::lock_guard lock(s->mutex);
    s->playbin = pipeline;
  }
  // Opening the file happens here, in this thread: a FIFO or a stalled share holds up this file
  // alone. A file that is missing or unreadable fails at once; anything else wrong with it is told
  // later as an error.
  const bool opened =
      s->onStorage([&] { return gst_element_set_state(pipeline, GST_STATE_PAUSED); }) != GST_STATE_CHANGE_FAILURE;
  if (!opened) {
    s->release(pipeline);
    return nullptr;
  }
  return pipeline;
}

void GstMediaDevice::Session::release(GstElement* pipeline) {
  {
    const std::lock_guard lock(mutex);
    if (playbin == pipeline) playbin = nullptr;
  }
  // Going to NULL stops GStreamer's threads and closes the file, the audio device and the video
  // window. It waits for those threads, for as long as a read of a stalled share takes: this
  // thread is the only one that waits.
  onStorage([&] { return gst_element_set_state(pipeline, GST_STATE_NULL); });
  GstBus* bus = gst_element_get_bus(pipeline);
  gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
  gst_object_unref(bus);
  gst_object_unref(pipeline);
  --*pipelines;
}

void GstMediaDevice::Session::drive(const std::shared_ptr<Session>& s) {
  {
    // Given up before its turn came (clicks in quick succession): nothing to open.
    const std::lock_guard lock(s->mutex);
    if (std::any_of(s->steps.begin(), s->steps.end(), [](const auto& step) { return step.first == Step::Close; }))
      return;
  }
  GstElement* pipeline = open(s);
  s->moved();
  if (pipeline == nullptr) {
    s->report(1, State::Closed, false, true);
    return;
  }
  const auto set = [&](GstState state) { return s->onStorage([&] { return gst_element_set_state(pipeline, state); }); };
  State state = State::Stopped;
  bool playing = false;  // the pipeline has reached PLAYING since the last Play
  unsigned done = 1;     // "open" was the first command
  s->report(done, state, playing, false);
  for (;;) {
    const auto [step, sent] = s->next();
    if (step == Step::Close) break;
    if (sent != 0) done = sent;
    GstState wanted = GST_STATE_VOID_PENDING;
    State then = state;
    bool plays = false;
    switch (step) {
      case Step::Play:
        if (state == State::Stopped || state == State::Paused) wanted = GST_STATE_PLAYING, then = State::Playing;
        break;
      case Step::Stop:
        // Stopping keeps the position: the next "play" goes on from there.
        if (state == State::Playing || state == State::Paused) wanted = GST_STATE_PAUSED, then = State::Stopped;
        break;
      case Step::Pause:
        if (state == State::Playing) wanted = GST_STATE_PAUSED, then = State::Paused;
        break;
      case Step::Reached: plays = state == State::Playing; break;
      case Step::ClockLost:
        // The audio output changed under it: a new clock is chosen by pausing and playing again.
        if (state == State::Playing && set(GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE) wanted = GST_STATE_PLAYING;
        plays = playing;
        break;
      case Step::EndOfStream: {
        // The file stays open at its start, so that the next "play" starts over.
        set(GST_STATE_PAUSED);
        const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT);
        if (!s->onStorage([&] { return gst_element_seek_simple(pipeline, GST_FORMAT_TIME, flags, 0); })) {
          // A stream that cannot seek starts over by prerolling again.
          set(GST_STATE_READY);
          set(GST_STATE_PAUSED);
        }
        then = State::Stopped;
        break;
      }
      case Step::Failed: wanted = GST_STATE_NULL; break;
      case Step::Close: break;
    }
    GstStateChangeReturn changed = GST_STATE_CHANGE_SUCCESS;
    if (wanted != GST_STATE_VOID_PENDING) changed = set(wanted);
    if (step == Step::Failed || changed == GST_STATE_CHANGE_FAILURE) {
      // A file that cannot be played simply does not play.
      s->release(pipeline);
      s->report(done, State::Closed, false, true);
      return;
    }
    // PLAYING reached at once; else the pipeline tells when it is (Step::Reached).
    if (step == Step::Play && then == State::Playing)
      plays = wanted == GST_STATE_VOID_PENDING ? playing : changed == GST_STATE_CHANGE_SUCCESS;
    if (sent == 0 && then == state && plays == playing) continue;  // nothing new to tell
    state = then;
    playing = plays && state == State::Playing;
    s->report(done, state, playing, false);
  }
  s->release(pipeline);
}

GstMediaDevice::GstMediaDevice(Sinks sinks, std::shared_ptr<Handoff> handoff, Storage storage)
    : sinks_(std::move(sinks)),
      handoff_(std::move(handoff)),
      storage_(std::move(storage)),
      pipelines_(std::make_shared<std::atomic<int>>(0)),
      self_(std::make_shared<GstMediaDevice*>(this)) {
  if (!storage_.mountOf) storage_.mountOf = mountPointOf;
  if (!storage_.now) storage_.now = Clock::now;
}

GstMediaDevice::~GstMediaDevice() { giveUp(); }

void GstMediaDevice::startInBackground() {
  try {
    startThread([] { gstreamerReady(); });
  } catch (const std::system_error&) {
    // Then the first file starts it.
  }
}

void GstMediaDevice::setDeviceType(std::string_view) {
  // playbin finds the format itself, so the type changes nothing.
}

void GstMediaDevice::setFileName(std::string_view path) { fileName_ = path; }

void GstMediaDevice::command(std::string_view command) {
  if (command == "open") {
    giveUp();
    if (fileName_.empty()) {
      setState(State::Closed);
      return;
    }
    auto s = std::make_shared<Session>();
    s->serial = ++serial_;
    // A relative name is taken from the working folder of the moment "open" is given.
    std::error_code ec;
    s->path = fileName_.front() == '/' ? fileName_ : (std::filesystem::current_path(ec) / fileName_).native();
    s->mount = storage_.mountOf(s->path);
    s->sinks = sinks_;
    s->now = storage_.now;
    s->pipelines = pipelines_;
    s->device = self_;
    s->handoff = handoff_;
    const Turn turn = turnOf(*s);
    if (turn == Turn::Refused || (turn == Turn::Now && !start(s))) {
      setState(State::Closed);
      return;
    }
    session_ = std::move(s);
    sent_ = 1;
    setState(State::Stopped);
    if (turn == Turn::Later) judgeAgainSoon();
  } else if (command == "close") {
    giveUp();
    setState(State::Closed);
  } else if (command == "play") {
    if (commanded_ == State::Stopped || commanded_ == State::Paused) {
      beforePlay_ = commanded_;
      send(Step::Play);
      setState(State::Playing, !handoff_);
    }
  } else if (command == "stop") {
    if (commanded_ == State::Playing || commanded_ == State::Paused) {
      send(Step::Stop);
      setState(State::Stopped);
    }
  }
}

MediaDevice::State GstMediaDevice::state() const {
  // Until its pipeline plays, a file told to play is still as it was.
  return commanded_ == State::Playing && !playing_ ? beforePlay_ : commanded_;
}

void GstMediaDevice::pause() {
  if (state() == State::Playing) {
    send(Step::Pause);
    setState(State::Paused);
  }
}

void GstMediaDevice::setStateListener(std::function<void(State)> listener) { listener_ = std::move(listener); }

GstMediaDevice::Turn GstMediaDevice::turnOf(const Session& s) {
  std::erase_if(alive_, [](const std::shared_ptr<Session>& a) { return a->ended.load(); });
  const Clock::time_point now = storage_.now();
  std::size_t here = 0, stuckHere = 0, stuck = 0;
  for (const auto& a : alive_) {
    const bool isStuck = a->stuck(now);
    stuck += isStuck;
    if (a->mount == s.mount) ++here, stuckHere += isStuck;
  }
  if (stuckHere >= kPerMount) {
    logLine(s.path + ": not played: its storage (" + s.mount + ") does not answer, and " + std::to_string(stuckHere) +
            " files there are stuck");
    return Turn::Refused;
  }
  if (alive_.size() >= kSessionLimit && stuck == alive_.size()) {
    logLine(s.path + ": not played: all " + std::to_string(stuck) +
            " threads for files are stuck on storage that does not answer");
    return Turn::Refused;
  }
  return here >= kPerMount || alive_.size() >= kSessionLimit ? Turn::Later : Turn::Now;
}

bool GstMediaDevice::start(const std::shared_ptr<Session>& s) {
  try {
    startThread([s] {
      Session::drive(s);
      s->ended = true;
      s->moved();
    });
  } catch (const std::system_error& e) {
    logLine(s->path + ": not played: no thread to be had (" + e.what() + ")");
    return false;
  }
  s->started = true;
  alive_.push_back(s);
  return true;
}

void GstMediaDevice::startWaiting() {
  if (!session_ || session_->started) return;
  const Turn turn = turnOf(*session_);
  if (turn == Turn::Later) {
    judgeAgainSoon();
    return;
  }
  if (turn == Turn::Refused || !start(session_)) {
    session_.reset();
    setState(State::Closed);
  }
}

// What is stuck is known only by the clock: nothing else would come to say so.
void GstMediaDevice::judgeAgainSoon() {
  if (!handoff_ || std::exchange(judgeQueued_, true)) return;
  handoff_->postAfter(kJudgeAgain, [device = std::weak_ptr<GstMediaDevice*>(self_)] {
    if (const auto d = device.lock()) {
      (*d)->judgeQueued_ = false;
      (*d)->startWaiting();
    }
  });
}

void GstMediaDevice::send(Step step) {
  if (session_) session_->push(step, ++sent_);
}

void GstMediaDevice::giveUp() {
  // One still waiting for a thread is simply dropped.
  if (session_ && session_->started) session_->push(Step::Close, 0);
  session_.reset();
}

void GstMediaDevice::heard(unsigned serial, unsigned sent, State state, bool playing, bool ended) {
  if (!session_ || session_->serial != serial) return;  // from a file given up since
  if (ended) {
    session_.reset();
    setState(State::Closed);
  } else if (sent == sent_) {
    setState(state, playing);  // unless commands given since will have their own say
  }
}

void GstMediaDevice::setState(State commanded, bool playing) {
  const State before = state();
  commanded_ = commanded;
  playing_ = playing;
  // A copy, so that a listener may replace itself.
  if (state() != before)
    if (auto listener = listener_) listener(state());
}

}  // namespace kalvori
