// One reading of a folder of 20,000 media files and 100 others (the files and subfolders both
// lists show), as the lists' worker makes it. Goal: within 100 ms. Google Benchmark, no Qt.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "player/file_browser.h"

namespace {

// Made once, under /tmp, and removed at the end.
struct Folder {
  std::string path;
  Folder() {
    std::string name = "/tmp/kalvori-listing-XXXXXX";
    if (!mkdtemp(name.data())) std::abort();
    path = name;
    const char* extensions[] = {".mp3", ".WAV", ".avi", ".Mpg", ".mid"};
    for (int i = 0; i < 20100; ++i) {
      char file[48];
      if (i < 20000) std::snprintf(file, sizeof file, "/track %05d%s", i, extensions[i % 5]);
      else std::snprintf(file, sizeof file, "/readme %d.txt", i);
      const int fd = ::open((path + file).c_str(), O_CREAT | O_WRONLY, 0644);
      if (fd >= 0) ::close(fd);
    }
  }
  ~Folder() { std::filesystem::remove_all(path); }
};

void readTwentyThousandFiles(benchmark::State& state) {
  static const Folder folder;
  for (auto _ : state) {
    const kalvori::FolderListing listing = kalvori::readFolder(folder.path, "*.wav;*.mid;*.avi;*.mpg;*.mp3");
    if (listing.files.size() != 20000) state.SkipWithError("wrong listing");
    benchmark::DoNotOptimize(listing);
  }
}
BENCHMARK(readTwentyThousandFiles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
