// Small media files made for the tests: WAV and MIDI written byte by byte, MP3, AVI and MPG made
// with GStreamer's own encoders, and files that cannot be played. Made once per test process in a
// temporary folder.
#pragma once

#include <filesystem>
#include <string>

namespace kalvori::testing {

std::string wavBytes(double seconds);  // 16-bit mono PCM, a 440 Hz tone
std::string midiBytes(double seconds);  // one piano note held for the time
void writeFile(const std::filesystem::path& path, const std::string& bytes);
// Runs a GStreamer pipeline to its end; false on an error.
bool runPipeline(const std::string& description);

// "one second.wav", "other.wav", "short.wav", "tone.mid", "tone.mp3", "picture.avi",
// "picture.mpg"; and "noise.mp3" (random bytes), "empty.wav", a folder "folder.avi", "deleted.wav"
// (gone), "unreadable.wav" (no permissions), "loop-a.wav" and "loop-b.wav" (links to each other).
struct Media {
  std::filesystem::path dir;
  Media();
  ~Media();
  std::string operator/(const std::string& name) const { return (dir / name).string(); }
};
const Media& media();

}  // namespace kalvori::testing
