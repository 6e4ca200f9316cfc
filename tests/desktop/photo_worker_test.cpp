// The photo worker's one reading thread: a reading asked while another is read waits, a newer one
// replaces it, and only the newest is answered; no second thread is started meanwhile.
#include <gtest/gtest.h>

#include <QTest>
#include <condition_variable>
#include <mutex>

#include "desktop/photo_worker.h"
#include "desktop/qt_handoff.h"

namespace kalvori::desktop {
namespace {

TEST(PhotoWorker, OnlyTheNewestReadingIsReadNextAndAnswered) {
  std::mutex mutex;
  std::condition_variable changed;
  bool go = false;
  int reading = 0, most = 0;
  std::vector<double> readFrom;  // the lines' first x, as they were read
  PhotoReader reader = PhotoReader::standard();
  reader.read = [&](const RgbImage&, std::optional<BodyLine> line) {
    std::unique_lock lock(mutex);
    most = std::max(most, ++reading);
    readFrom.push_back(line->from.x);
    changed.notify_all();
    changed.wait(lock, [&] { return go; });
    --reading;
    PhotoAnswer a;
    a.line = *line;
    return a;
  };
  reader.strip = [](const RgbImage&, const BodyLine&, int height, int width) { return RgbImage(width, height); };

  QObject owner;
  PhotoWorker worker(QtHandoff::to(&owner), reader);
  const auto photo = std::make_shared<const RgbImage>(8, 8);
  std::vector<double> answered;
  const auto ask = [&](double x) {
    worker.read(photo, BodyLine{{x, 1}, {6, 6}}, [](std::optional<BodyLine>) {},
                [&](const ReadPhoto& r) { answered.push_back(r.answer.line.from.x); });
  };
  ask(1);
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return reading == 1; });
  }
  ask(2);
  ask(3);  // replaces 2, which is never read
  {
    const std::lock_guard lock(mutex);
    go = true;
  }
  changed.notify_all();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !answered.empty(); }, 5000));
  QCoreApplication::processEvents();  // an outdated answer, were one let through, would come by now
  EXPECT_EQ(answered.front(), 3);
  const std::lock_guard lock(mutex);
  EXPECT_EQ(readFrom, (std::vector<double>{1, 3}));
  EXPECT_EQ(most, 1);
}

}  // namespace
}  // namespace kalvori::desktop
