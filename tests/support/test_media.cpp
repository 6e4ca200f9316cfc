#include "support/test_media.h"

#include <gst/gst.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <random>

namespace kalvori::testing {

namespace fs = std::filesystem;

namespace {

void put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>((v >> 8) & 0xff);
}
void put32(std::string& out, unsigned v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}
void put32be(std::string& out, unsigned v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xff);
}

}  // namespace

// 16-bit mono PCM, a 440 Hz tone.
std::string wavBytes(double seconds) {
  const unsigned rate = 16000;
  const auto samples = static_cast<unsigned>(seconds * rate);
  std::string out = "RIFF";
  put32(out, 36 + samples * 2);
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, rate);
  put32(out, rate * 2);
  put16(out, 2);
  put16(out, 16);
  out += "data";
  put32(out, samples * 2);
  for (unsigned i = 0; i < samples; ++i) {
    put16(out, static_cast<unsigned>(static_cast<int16_t>(8000 * std::sin(i * 2 * std::numbers::pi * 440 / rate))));
  }
  return out;
}

// One piano note held for `seconds` (120 beats a minute, 480 ticks a beat).
std::string midiBytes(double seconds) {
  const auto ticks = static_cast<unsigned>(seconds * 960);
  std::string track;
  track += std::string("\x00\xc0\x00", 3);      // piano
  track += std::string("\x00\x90\x3c\x64", 4);  // middle C on
  // The hold time as a variable-length quantity (two bytes are enough for a few seconds).
  track += static_cast<char>(0x80 | (ticks >> 7));
  track += static_cast<char>(ticks & 0x7f);
  track += std::string("\x80\x3c\x00", 3);      // off
  track += std::string("\x00\xff\x2f\x00", 4);  // end of track
  std::string out = "MThd";
  put32be(out, 6);
  out += std::string("\x00\x00\x00\x01\x01\xe0", 6);  // format 0, one track, 480 ticks a beat
  out += "MTrk";
  put32be(out, static_cast<unsigned>(track.size()));
  return out + track;
}

void writeFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Runs a GStreamer pipeline to its end; false on an error.
bool runPipeline(const std::string& description) {
  GError* error = nullptr;
  GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
  if (error != nullptr) {
    ADD_FAILURE() << description << ": " << error->message;
    g_error_free(error);
    if (pipeline != nullptr) gst_object_unref(pipeline);
    return false;
  }
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* end = gst_bus_timed_pop_filtered(bus, 20 * GST_SECOND,
                                               static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool ok = end != nullptr && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
  if (end != nullptr) gst_message_unref(end);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return ok;
}

Media::Media() {
  std::string pattern = (fs::temp_directory_path() / "kalvori-player-XXXXXX").string();
  dir = mkdtemp(pattern.data());
  gst_init(nullptr, nullptr);
  writeFile(dir / "one second.wav", wavBytes(1.0));
  writeFile(dir / "other.wav", wavBytes(1.0));
  writeFile(dir / "short.wav", wavBytes(0.3));
  writeFile(dir / "tone.mid", midiBytes(1.0));
  const std::string at = " ! filesink location=\"" + dir.string() + "/";
  const std::string picture = "videotestsrc num-buffers=25 ! video/x-raw,width=160,height=120,framerate=25/1";
  EXPECT_TRUE(
      runPipeline("audiotestsrc num-buffers=10 samplesperbuffer=3200 ! audio/x-raw,rate=32000"
                  " ! audioconvert ! lamemp3enc" +
                  at + "tone.mp3\""));
  EXPECT_TRUE(runPipeline(picture + " ! jpegenc ! avimux" + at + "picture.avi\""));
  // MPEG-1 video in an MPEG-1 system stream. (mpegpsmux and mplex write timestamps that do not
  // start at zero.)
  EXPECT_TRUE(runPipeline(picture + " ! videoconvert ! mpeg2enc format=0 ! mpegvideoparse ! avmux_mpeg" + at +
                          "picture.mpg\""));

  std::mt19937 random(7);
  std::string noise(20000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  writeFile(dir / "noise.mp3", noise);
  writeFile(dir / "empty.wav", "");
  fs::create_directory(dir / "folder.avi");
  writeFile(dir / "deleted.wav", wavBytes(0.5));
  fs::remove(dir / "deleted.wav");
  writeFile(dir / "unreadable.wav", wavBytes(0.5));
  fs::permissions(dir / "unreadable.wav", fs::perms::none);
  fs::create_symlink("loop-b.wav", dir / "loop-a.wav");
  fs::create_symlink("loop-a.wav", dir / "loop-b.wav");
}

Media::~Media() {
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

const Media& media() {
  static const Media made;
  return made;
}


}  // namespace kalvori::testing
