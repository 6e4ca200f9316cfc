// The bounded workers behind the player's lists and drive checks: real threads, a work that can be
// made to hang, and the UI thread played by the test through a queued handoff.
#include "player/background_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include "player/file_browser.h"
#include "player/folder_reader.h"
#include "support/queued_handoff.h"
#include "support/temp_folder.h"

namespace kalvori {
namespace {

using namespace std::chrono_literals;

// Work whose keys starting with "hung" wait until let go, as a read of a dead share does.
struct Storage {
  std::mutex mutex;
  std::condition_variable changed;
  bool answering = false;
  std::multiset<std::string> worked;  // every key worked on, in any thread
  std::set<std::thread::id> threads;

  std::string work(const std::string& key) {
    std::unique_lock lock(mutex);
    worked.insert(key);
    threads.insert(std::this_thread::get_id());
    changed.notify_all();
    changed.wait(lock, [&] { return answering || !key.starts_with("hung"); });
    return "read " + key;
  }
  void waitUntilWorked(std::size_t n) {
    std::unique_lock lock(mutex);
    changed.wait_for(lock, 5s, [&] { return worked.size() >= n; });
  }
  void answer() {
    const std::lock_guard lock(mutex);
    answering = true;
    changed.notify_all();
  }
};

// Runs what the workers hand back until `done` holds, or five seconds have passed.
template <class Done>
bool runUntil(testing::QueuedHandoff& handoff, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!done() && std::chrono::steady_clock::now() < deadline)
    if (!handoff.runPosted()) std::this_thread::sleep_for(1ms);
  return done();
}

// Keys name their mount by their first word.
std::string mountOfKey(const std::string& key) { return key.substr(0, key.find(' ')); }

TEST(BackgroundWorker, AHungMountHoldsOnlyItsOwnThreadsAndOnlyItsNewestQueuedRequestIsWorked) {
  Storage storage;
  auto handoff = std::make_shared<testing::QueuedHandoff>();
  BackgroundWorker<std::string> worker(
      "reading", {2, 3}, handoff, [&](const std::string& key) { return storage.work(key); }, "nothing", mountOfKey);
  std::vector<std::string> answers;
  const auto ask = [&](const std::string& key) {
    worker.ask(key, [&answers](const std::string& result) { answers.push_back(result); });
  };
  ask("hung one");
  storage.waitUntilWorked(1);
  ask("hung two");
  storage.waitUntilWorked(2);
  // Both threads of the hung mount are stuck: no more start for it, its newest request replaces
  // the one queued, and asking again for what a stuck thread reads waits for that thread.
  for (int i = 0; i < 100; ++i) {
    ask("hung " + std::to_string(i));
    ask("hung one");
  }
  // Another mount is still served.
  ask("local one");
  ASSERT_TRUE(runUntil(*handoff, [&] { return answers == std::vector<std::string>{"read local one"}; }));
  EXPECT_LE(worker.threads(), 3u);

  storage.answer();
  ASSERT_TRUE(runUntil(*handoff, [&] { return answers.size() == 104u && worker.threads() == 0; }));
  EXPECT_EQ(std::count(answers.begin(), answers.end(), "read hung one"), 101);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), "read hung two"), 1);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), "read hung 99"), 1);
  EXPECT_EQ(storage.worked.size(), 4u) << "each hung key once, the newest queued one, and the local one";
  EXPECT_LE(storage.threads.size(), 3u);
}

// A process at its limit of threads: the starter throws, as std::thread does then.
class NoThreadToBeHad : public ::testing::Test {
 protected:
  void SetUp() override {
    before = replaceThreadStarter([](std::function<void()>) {
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    ::testing::internal::CaptureStderr();
  }
  void TearDown() override {
    replaceThreadStarter(before);
    ::testing::internal::GetCapturedStderr();
  }
  ThreadStarter before;
  testing::TempFolder temp{"kalvori-no-thread"};
};

// Each would find something if its work ran on this thread: the answers say it did not.
TEST_F(NoThreadToBeHad, TheUiThreadNeverDoesTheWorkItself) {
  std::ofstream(temp.path() + "/song.mp3");
  auto handoff = std::make_shared<testing::QueuedHandoff>();
  const std::thread::id ui = std::this_thread::get_id();

  Storage storage;
  BackgroundWorker<std::string> worker(
      "reading", {2, 3}, handoff, [&](const std::string& key) { return storage.work(key); }, "nothing", mountOfKey);
  std::string answer;
  worker.ask("local", [&](const std::string& result) { answer = result; });

  const FileBrowser files({}, {}, handoff);
  std::optional<bool> readable;
  files.whenReadable(temp.path(), [&](bool r) { readable = r; });

  FolderReader reader(handoff, "*.mp3");
  const auto reading = reader.read(temp.path());

  handoff->runPosted();
  const std::string said = ::testing::internal::GetCapturedStderr();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(storage.threads.count(ui), 0u);
  EXPECT_TRUE(storage.worked.empty());
  EXPECT_EQ(answer, "nothing");
  EXPECT_EQ(readable, false);
  EXPECT_TRUE(reading->done);
  EXPECT_EQ(reading->names->files.size(), 0u);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3) << said;
  EXPECT_NE(said.find("no thread to be had"), std::string::npos) << said;
}

}  // namespace
}  // namespace kalvori
