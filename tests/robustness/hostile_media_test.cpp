// Hostile folders and media, end to end: the whole window on the real GStreamer device (with sinks
// that keep real time but need no sound card or display), driven by clicks as a user drives it.
// Huge folders, names that are not text, files that change or vanish while shown or played, a
// huge tag before the audio and an hour-long file: nothing may crash or hang, and the window may
// never stop answering for longer than a user would put up with.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "desktop/form_widget.h"
#include "desktop/player_widgets.h"
#include "desktop/qt_handoff.h"
#include "player/gst_media_device.h"
#include "support/qt_helpers.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "window/main_window.h"
#include "support/media_probe.h"

namespace kalvori::desktop {
namespace {

namespace fs = std::filesystem;
using State = MediaDevice::State;
constexpr long long kMs = 1'000'000;
// A coarse bound that catches a window that hangs, ten times the 50 ms goal for any stall; the
// stalls themselves are measured by bench/ui_stalls, on a quiet machine.
constexpr double kLongestBlockMs = 500;
constexpr int kWavRate = 16000;  // the test WAVs: 16-bit mono, 32000 bytes a second
constexpr std::size_t kWavHeader = 44;

// While it lives, measures the longest time the event loop went without running a 10 ms timer.
class LoopWatch {
 public:
  LoopWatch() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      longest_ = std::max(longest_, clock_.nsecsElapsed() - last_);
      last_ = clock_.nsecsElapsed();
    });
    clock_.start();
    timer_.start(10);
  }
  // Counting the wait since the last tick, so that a block still going on counts too.
  double longestMs() const { return static_cast<double>(std::max(longest_, clock_.nsecsElapsed() - last_)) / kMs; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 longest_ = 0;
};

void makeFile(const std::string& path, const std::string& bytes = {}) {
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  if (!bytes.empty()) {
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  ::close(fd);
}
void makeFiles(const std::string& folder, const char* format, int count) {
  for (int i = 0; i < count; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, format, i);
    makeFile(folder + "/" + name);
  }
}

void put32(std::string& bytes, std::size_t at, std::uint32_t v, bool bigEndian = false) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * (bigEndian ? 3 - i : i)));
}

// An ID3v2.3 tag of `size` bytes (one PRIV frame filling it) before the MP3 audio.
std::string withHugeTag(const std::string& mp3, std::uint32_t size) {
  std::string tag = std::string("ID3\x03\x00\x00", 6) + std::string(4 + 10, '\0') + "kalvori" + '\0';
  for (int i = 0; i < 4; ++i) tag[6 + static_cast<std::size_t>(i)] = static_cast<char>((size >> (7 * (3 - i))) & 0x7f);
  tag.replace(10, 4, "PRIV");
  put32(tag, 14, size - 10, true);
  tag.resize(10 + size, '\0');
  return tag + mp3;
}

class HostileMedia : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(root + "/start");
    makeFile(root + "/start/short.wav", testing::wavBytes(0.3));
  }
  // The window, started in `folder` and showing the player, drawn and settled.
  void open(const std::string& folder) {
    form = createMainWindow(&device, files, folder);
    view = std::make_unique<FormWidget>(*form, &device, &files);
    form->load();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    form->click("mp3");
    QTest::qWait(100);
    settle();
  }
  // The lists are read in a worker: waits until both show their folder.
  void settle() {
    auto filling = [&](const char* name) { return static_cast<FolderContents*>(list(name))->filling(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !filling("Dir1") && !filling("File1"); }, 60000));
  }
  // Plays short.wav once, so that starting GStreamer is not counted against anything hostile.
  void warmUp() {
    form->openFolder("Dir1", root + "/start");
    settle();
    click(entry("File1", "short.wav"));
    ASSERT_TRUE(playsTo(100 * kMs));
  }

  QListWidget* list(const char* name) const { return static_cast<QListWidget*>(view->widgetFor(name)); }
  FileList* fileList() const { return static_cast<FileList*>(view->widgetFor("File1")); }
  // The entry that carries these bytes (a file's name, the end of a folder's path).
  // The lists are read in a worker, so it may take a moment to appear.
  QListWidgetItem* entry(const char* listName, const std::string& bytes) const {
    QListWidget* l = list(listName);
    const QByteArray wanted(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QListWidgetItem* found = nullptr;
    (void)QTest::qWaitFor([&] {
      for (int i = 0; i < l->count() && !found; ++i) {
        const QByteArray data = l->item(i)->data(Qt::UserRole).toByteArray();
        if (data == wanted || data.endsWith("/" + wanted)) found = l->item(i);
      }
      return found != nullptr;
    }, 10000);
    if (!found) ADD_FAILURE() << "not listed: " << bytes;
    return found;
  }
  // Opens the folder as a user does, with a double-click on its entry in the folder list, and lets
  // the event loop take its turn as it does between two things a user does.
  void openFolder(const std::string& name) {
    click(entry("Dir1", name), true);
    QTest::qWait(20);
  }
  // A user's click on the entry (twice: a double-click, which opens a folder).
  void click(QListWidgetItem* item, bool twice = false) {
    if (!item) return;
    QListWidget* l = item->listWidget();
    l->scrollToItem(item);
    // A list filled a slice at a time lays its entries out in batches: a user clicks what is drawn.
    (void)QTest::qWaitFor([&] { return l->itemAt(l->visualItemRect(item).center()) == item; }, 10000);
    const QPoint at = l->visualItemRect(item).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
  }
  bool playsTo(long long ns, int withinMs = 5000) {
    return QTest::qWaitFor([&] { return positionNs(device).value_or(0) >= ns; }, withinMs);
  }
  // Runs the event loop a turn at a time until `done`, so that what lies between two turns (a list
  // half filled) can be seen. (QTest::qWaitFor turns it until nothing is left to do.)
  template <class Done>
  static bool turnUntil(Done done, int withinMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
      if (clock.elapsed() > withinMs) return false;
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
  }
  bool stopsPlaying(int withinMs) {
    return QTest::qWaitFor([&] { return device.state() != State::Playing; }, withinMs);
  }

  testing::TempFolder temp{"kalvori-hostile"};
  std::string root = temp.path();
  QObject answers;  // what the device's reports come back through, gone with the fixture
  GstMediaDevice device{GstMediaDevice::Sinks{"fakesink sync=true", "fakesink sync=true"},
                        desktop::QtHandoff::to(&answers)};
  FileBrowser files{[this] { return std::vector<Volume>{{root + "/stick", "STICK", true}}; }};
  std::unique_ptr<Form> form;
  std::unique_ptr<FormWidget> view;
};

// The lists of a huge folder fill from the event loop; a listing overtaken by a newer one, while
// it is still being read or while it is being added, never shows.
TEST_F(HostileMedia, AHundredThousandFilesFillTheListWithoutFreezingTheWindow) {
  constexpr int kCount = 100'000, kFolders = 3000, kMid = 1500;
  const std::string big = root + "/big", mid = root + "/mid";
  fs::create_directories(big);
  fs::create_directories(mid);
  makeFiles(big, "track %06d.mp3", kCount);
  makeFile(big + "/notes.txt");
  for (int i = 0; i < kFolders; ++i) fs::create_directory(big + "/album " + std::to_string(i));
  makeFiles(mid, "take %04d.wav", kMid);
  open(root + "/start");
  warmUp();
  QListWidget* shownFiles = list("File1");
  auto filled = [&](int count) {
    return QTest::qWaitFor([&] { return shownFiles->count() == count && !fileList()->filling(); }, 60000);
  };

  const std::string rootName = fs::path(root).filename();
  openFolder(rootName);

  LoopWatch watch;
  QElapsedTimer clock;
  clock.start();
  click(entry("Dir1", "big"), true);
  ASSERT_TRUE(turnUntil([&] { return shownFiles->count() > 0; }, 60000));
  const qint64 listingMs = clock.elapsed();
  ASSERT_TRUE(filled(kCount)) << shownFiles->count();
  std::cout << "listed " << kCount << " files in " << listingMs << " ms, filled the list in " << clock.elapsed()
            << " ms; the window stopped for at most " << watch.longestMs() << " ms\n";
  EXPECT_EQ(shownFiles->item(0)->text(), "track 000000.mp3");
  EXPECT_EQ(shownFiles->item(kCount - 1)->text(), "track 099999.mp3");
  // The last one added is chosen like any other, once the list has laid it out.
  QListWidgetItem* last = shownFiles->item(kCount - 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return shownFiles->visualItemRect(last).isValid(); }, 60000));
  click(last);
  EXPECT_EQ(form->control("File1").fileName, "track 099999.mp3");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !static_cast<FolderList*>(list("Dir1"))->filling(); }, 60000));
  EXPECT_EQ(list("Dir1")->count(), static_cast<int>(folderChain(big).size()) + kFolders);

  // Left while it fills: the new folder's files at once, and nothing of the old one after.
  openFolder(rootName);
  click(entry("Dir1", "big"), true);
  ASSERT_TRUE(turnUntil([&] { return shownFiles->count() > 0; }, 60000));
  ASSERT_TRUE(fileList()->filling());
  openFolder(rootName);
  openFolder("start");
  settle();
  EXPECT_EQ(shownFiles->count(), 1);
  // Overtaken while it is still being read: the newer, quicker listing shows, the older never.
  openFolder(rootName);
  openFolder("big");
  openFolder(rootName);
  openFolder("mid");
  ASSERT_TRUE(filled(kMid));
  QTest::qWait(static_cast<int>(2 * listingMs + 500));  // time enough for the big folder's listing to end
  EXPECT_EQ(shownFiles->count(), kMid);
  EXPECT_EQ(shownFiles->item(kMid - 1)->text(), "take 1499.wav");
  std::cout << "the window stopped for at most " << watch.longestMs() << " ms in all\n";
  EXPECT_LT(watch.longestMs(), kLongestBlockMs);
}

// Names are bytes: a newline or bytes that are not UTF-8 are listed (each on one line), chosen
// and played like any other name, in folders named the same way.
TEST_F(HostileMedia, NamesThatAreNotTextAreListedChosenAndPlayed) {
  const std::string folder = "new\nfolder \xff\xfe";
  const std::string names[] = {"line\nbreak.wav", "bad \xff\xfe\x80.wav", "tab\tand\x7f.wav"};
  fs::create_directory(root + "/" + folder);
  for (const std::string& name : names) makeFile(root + "/" + folder + "/" + name, testing::wavBytes(1.0));
  open(root);

  click(entry("Dir1", folder), true);
  settle();
  ASSERT_EQ(form->control("Dir1").path, root + "/" + folder);
  ASSERT_EQ(list("File1")->count(), 3);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    QListWidgetItem* item = entry("File1", name);
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->text().contains('\n') || item->text().contains('\t')) << "an entry of more than one line";
    click(item);
    EXPECT_EQ(form->control("File1").fileName, name);
    EXPECT_TRUE(playsTo(150 * kMs)) << "does not play";
  }
}

// A file that grows while it plays (as one being written does), and one cut short under the
// player, even inside its header: each ends, and the next file plays.
TEST_F(HostileMedia, FilesThatGrowOrShrinkWhilePlaying) {
  const std::string wav = testing::wavBytes(3.0);  // the header says three seconds
  const std::string growing = root + "/start/growing.wav", shrinking = root + "/start/shrinking.wav";
  makeFile(growing, wav.substr(0, kWavHeader + kWavRate));  // half a second of it so far
  makeFile(shrinking, wav);
  open(root + "/start");
  warmUp();
  LoopWatch watch;

  click(entry("File1", "growing.wav"));
  ASSERT_TRUE(playsTo(100 * kMs));
  for (std::size_t written = kWavHeader + kWavRate; written < wav.size(); written += kWavRate / 5) {
    std::FILE* f = std::fopen(growing.c_str(), "ab");
    std::fwrite(wav.data() + written, 1, std::min<std::size_t>(kWavRate / 5, wav.size() - written), f);
    std::fclose(f);
    QTest::qWait(50);
  }
  EXPECT_TRUE(stopsPlaying(10000)) << "still playing long after the end";

  for (off_t cut : {static_cast<off_t>(kWavHeader + 3200), off_t{20}}) {
    SCOPED_TRACE(cut);
    click(entry("File1", "shrinking.wav"));
    ASSERT_TRUE(playsTo(200 * kMs));
    ASSERT_EQ(::truncate(shrinking.c_str(), cut), 0);
    EXPECT_TRUE(stopsPlaying(10000)) << "still playing long after the end";
    makeFile(shrinking, wav);
  }
  click(entry("File1", "short.wav"));
  EXPECT_TRUE(playsTo(100 * kMs));
  EXPECT_LT(watch.longestMs(), kLongestBlockMs);
}

// A removable volume pulled out while its folders and files are shown: choosing a file there
// plays nothing and opening a folder there shows an empty folder, both without a word.
TEST_F(HostileMedia, AVolumeUnmountedWhileShown) {
  const std::string stick = root + "/stick";
  fs::create_directories(stick + "/album");
  makeFile(stick + "/song.wav", testing::wavBytes(1.0));
  open(stick);
  QListWidgetItem* song = entry("File1", "song.wav");
  QListWidgetItem* album = entry("Dir1", "album");
  ASSERT_TRUE(song && album);
  testing::MessageBoxAnswerer answerer;

  fs::remove_all(stick);
  click(song);
  EXPECT_EQ(form->control("File1").fileName, "song.wav");
  QTest::qWait(300);
  EXPECT_EQ(device.state(), State::Closed);
  click(album, true);
  EXPECT_EQ(form->control("Dir1").path, stick + "/album");
  EXPECT_EQ(list("File1")->count(), 0);
  EXPECT_EQ(list("Dir1")->count(), static_cast<int>(folderChain(stick + "/album").size()));  // the way there, nothing in it
  EXPECT_TRUE(answerer.seen.empty());

  warmUp();  // and the player goes on as before
}

// 20 MB of ID3 tag before the audio: the file plays (or quietly does not), and the window goes on.
TEST_F(HostileMedia, AHugeTagBeforeTheAudio) {
  std::string mp3;
  {
    std::ifstream in(testing::media() / "tone.mp3", std::ios::binary);
    mp3.assign(std::istreambuf_iterator<char>(in), {});
  }
  makeFile(root + "/start/tagged.mp3", withHugeTag(mp3, 20u << 20));
  open(root + "/start");
  warmUp();
  LoopWatch watch;

  click(entry("File1", "tagged.mp3"));
  const bool played = playsTo(100 * kMs, 15000);
  std::cout << "a 20 MB tag: " << (played ? "plays" : "does not play") << "\n";
  EXPECT_TRUE(played || device.state() == State::Closed) << "neither plays nor gives up";
  click(entry("File1", "short.wav"));
  EXPECT_TRUE(playsTo(100 * kMs));
  EXPECT_LT(watch.longestMs(), kLongestBlockMs);
}

// An hour of silence, made as a sparse file under a WAV header: it opens and plays at once, and
// closes at once for the next file.
TEST_F(HostileMedia, AnHourLongFileStartsAndClosesPromptly) {
  constexpr std::uint32_t kData = 3600u * kWavRate * 2;
  std::string header = testing::wavBytes(0).substr(0, kWavHeader);
  put32(header, 4, 36 + kData);  // RIFF size
  put32(header, 40, kData);      // data size
  const std::string hour = root + "/start/hour.wav";
  makeFile(hour, header);
  ASSERT_EQ(::truncate(hour.c_str(), static_cast<off_t>(kWavHeader + kData)), 0);
  open(root + "/start");
  warmUp();
  LoopWatch watch;

  QElapsedTimer clock;
  clock.start();
  click(entry("File1", "hour.wav"));
  ASSERT_TRUE(playsTo(100 * kMs, 3000));
  const qint64 startMs = clock.elapsed();
  clock.restart();
  click(entry("File1", "short.wav"));  // closes the hour first
  const qint64 closeMs = clock.elapsed();
  EXPECT_TRUE(playsTo(100 * kMs));
  std::cout << "an hour-long file played after " << startMs << " ms and was closed within " << closeMs << " ms\n";
  EXPECT_LT(watch.longestMs(), kLongestBlockMs);
}

}  // namespace
}  // namespace kalvori::desktop
