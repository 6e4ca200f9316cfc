// How long each media-device command keeps its caller (the UI thread) waiting, with fake sinks that
// keep real time. A command only hands its work to the thread of the file it is for (GStreamer
// itself, the opening and the release all happen there), so each should take microseconds. Only
// the command itself is timed; between commands what the device hands back is run, as the
// program's event loop would, until the pipeline has done what was asked.
//
// The first benchmark is the very first "open" of the process, which starts the file's thread (and
// that thread starts GStreamer); run the program again for another sample of it.
#include <benchmark/benchmark.h>
#include <glib.h>

#include <memory>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>

#include "player/gst_media_device.h"
#include "support/queued_handoff.h"
#include "support/media_probe.h"

namespace {

namespace fs = std::filesystem;
using kalvori::GstMediaDevice;
using State = kalvori::MediaDevice::State;

void putLittleEndian(std::string& out, unsigned value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

// Two seconds of a 440 Hz tone, 16-bit mono: longer than any timed "play" lasts.
std::string wavBytes() {
  const unsigned rate = 16000;
  const unsigned samples = 2 * rate;
  std::string out = "RIFF";
  putLittleEndian(out, 36 + samples * 2, 4);
  out += "WAVEfmt ";
  putLittleEndian(out, 16, 4);
  putLittleEndian(out, 1, 2);
  putLittleEndian(out, 1, 2);
  putLittleEndian(out, rate, 4);
  putLittleEndian(out, rate * 2, 4);
  putLittleEndian(out, 2, 2);
  putLittleEndian(out, 16, 2);
  out += "data";
  putLittleEndian(out, samples * 2, 4);
  for (unsigned i = 0; i < samples; ++i) {
    const double sample = 8000 * std::sin(i * 2 * std::numbers::pi * 440 / rate);
    putLittleEndian(out, static_cast<unsigned>(static_cast<int>(sample)), 2);
  }
  return out;
}

// One note held for two seconds: its decoder loads the General MIDI soundfont.
std::string midiBytes() {
  const std::string track("\x00\xc0\x00\x00\x90\x3c\x64\x8f\x00\x80\x3c\x00\x00\xff\x2f\x00", 16);
  std::string out("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk\x00\x00\x00", 21);
  return out + static_cast<char>(track.size()) + track;
}

struct Media {
  fs::path dir;
  std::string wav;
  std::string mid;
  Media() {
    std::string pattern = (fs::temp_directory_path() / "kalvori-bench-XXXXXX").string();
    dir = mkdtemp(pattern.data());
    wav = (dir / "tone.wav").string();
    mid = (dir / "tone.mid").string();
    std::ofstream(wav, std::ios::binary) << wavBytes();
    std::ofstream(mid, std::ios::binary) << midiBytes();
  }
  ~Media() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

const Media& media() {
  static const Media made;
  return made;
}

GstMediaDevice::Sinks fakeSinks() { return {"fakesink sync=true", "fakesink sync=true"}; }

// What the devices hand back to the UI thread, which the benchmark plays.
const auto answers = std::make_shared<kalvori::testing::QueuedHandoff>();

// Runs what the device hands back until `done` holds (or two seconds have passed).
template <class Done>
void runUntil(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    if (!answers->runPosted()) g_usleep(500);
  }
}

// Open, with the file prerolled: what "play" and "stop" start from.
void openAndPreroll(GstMediaDevice& device, const std::string& path) {
  device.setFileName(path);
  device.command("open");
  runUntil([&] { return positionNs(device).has_value(); });
}

void firstOpen(benchmark::State& state) {
  GstMediaDevice device(fakeSinks(), answers);
  device.setFileName(media().wav);
  for (auto _ : state) device.command("open");
  if (device.state() == State::Closed) state.SkipWithError("GStreamer or the file did not open");
}
BENCHMARK(firstOpen)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// "open" and "close" in a pair, right after each other and so with the pipeline busy prerolling:
// "close" only hands the release to the file's thread, which lets GStreamer's threads stop there.
void openClose(benchmark::State& state, bool midi) {
  GstMediaDevice device(fakeSinks(), answers);
  device.setFileName(midi ? media().mid : media().wav);
  for (auto _ : state) {
    device.command("open");
    device.command("close");
    state.PauseTiming();
    while (answers->runPosted()) {
    }
    state.ResumeTiming();
  }
}
BENCHMARK_CAPTURE(openClose, wav, false)->Iterations(200)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(openClose, mid, true)->Iterations(20)->UseRealTime()->Unit(benchmark::kMicrosecond);

// "open" and "close" of a prerolled file, each timed alone; the counter tells how long prerolling
// took (outside the timed part).
void openThenClosePrerolled(benchmark::State& state, bool midi) {
  GstMediaDevice device(fakeSinks(), answers);
  double prerollMs = 0;
  for (auto _ : state) {
    device.setFileName(midi ? media().mid : media().wav);
    device.command("open");
    state.PauseTiming();
    const auto start = std::chrono::steady_clock::now();
    runUntil([&] { return positionNs(device).has_value(); });
    prerollMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.ResumeTiming();
    device.command("close");
  }
  state.counters["preroll_ms"] = benchmark::Counter(prerollMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(openThenClosePrerolled, wav, false)->Iterations(200)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(openThenClosePrerolled, mid, true)->Iterations(20)->UseRealTime()->Unit(benchmark::kMicrosecond);

// "close" of a MIDI file while it is still prerolling, the argument's milliseconds after "open":
// it waits for the decoder to finish loading its soundfont.
void closeMidiWhilePrerolling(benchmark::State& state) {
  GstMediaDevice device(fakeSinks(), answers);
  device.setFileName(media().mid);
  for (auto _ : state) {
    state.PauseTiming();
    device.command("open");
    g_usleep(static_cast<gulong>(state.range(0)) * 1000);
    state.ResumeTiming();
    device.command("close");
  }
}
BENCHMARK(closeMidiWhilePrerolling)->Arg(2)->Arg(30)->Iterations(10)->UseRealTime()->Unit(benchmark::kMicrosecond);

void play(benchmark::State& state) {
  GstMediaDevice device(fakeSinks(), answers);
  openAndPreroll(device, media().wav);
  for (auto _ : state) {
    device.command("play");
    state.PauseTiming();
    device.command("stop");
    runUntil([&] { return positionNs(device).has_value(); });
    state.ResumeTiming();
  }
  if (device.state() == State::Closed) state.SkipWithError("the file did not open");
}
BENCHMARK(play)->Iterations(200)->UseRealTime()->Unit(benchmark::kMicrosecond);

void stop(benchmark::State& state) {
  GstMediaDevice device(fakeSinks(), answers);
  openAndPreroll(device, media().wav);
  for (auto _ : state) {
    state.PauseTiming();
    const auto from = positionNs(device);
    runUntil([&] {
      if (device.state() != State::Playing) device.command("play");  // again after the end
      return positionNs(device) != from;                            // really playing
    });
    state.ResumeTiming();
    device.command("stop");
  }
  if (device.state() == State::Closed) state.SkipWithError("the file did not open");
}
BENCHMARK(stop)->Iterations(200)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
