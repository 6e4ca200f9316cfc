// Answers from other threads reach the UI thread one at a time: never inside a message box's loop,
// and in the order they came, from every handoff alike.
#include "desktop/qt_handoff.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <string>
#include <thread>
#include <vector>

#include "desktop/desktop_setup.h"

namespace kalvori::desktop {
namespace {

TEST(QtHandoff, AnswersThatComeUnderAMessageBoxRunAfterItsHandlerInTheirOrder) {
  QObject owner;
  const auto drives = QtHandoff::to(&owner);
  const auto folders = QtHandoff::to(&owner);
  std::vector<std::string> seen;
  // While the box is up: two answers from another thread, through two handoffs; then OK.
  QTimer::singleShot(50, [&] {
    std::thread([&] {
      drives->post([&] { seen.push_back("drive answer"); });
      folders->post([&] { seen.push_back("folder answer"); });
    }).join();
    QTimer::singleShot(100, [&] {
      seen.push_back("box closed");
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
  });
  // A handler that shows a message.
  QTimer::singleShot(0, [&] {
    showMessageBox(nullptr, "请插入光盘");
    seen.push_back("handler ended");
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 4u; }, 5000));
  EXPECT_EQ(seen, (std::vector<std::string>{"box closed", "handler ended", "drive answer", "folder answer"}));

  // Without a box, an answer runs as soon as the event loop turns.
  drives->post([&] { seen.push_back("later"); });
  EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 5u; }, 1000));
}

// An answer that shows a box finishes first, with the rest of its batch (a worker's answers to
// several askers come as one post; a batch of posts came before the box), and only then what came
// while the box was up.
TEST(QtHandoff, AnAnswerUnderABoxIsFollowedByTheRestOfItsBatchThenByNewerOnes) {
  QObject owner;
  const auto handoff = QtHandoff::to(&owner);
  std::vector<std::string> seen;
  QTimer::singleShot(100, [&] {
    std::thread([&] { handoff->post([&] { seen.push_back("B1"); }); }).join();
    QTimer::singleShot(100, [&] {
      seen.push_back("box closed");
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
  });
  std::thread([&] {
    handoff->post([&] {
      seen.push_back("A1");
      showMessageBox(nullptr, "请插入光盘");
      seen.push_back("A1 again");
    });
    handoff->post([&] { seen.push_back("A2"); });
  }).join();
  ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 5u; }, 5000));
  EXPECT_EQ(seen, (std::vector<std::string>{"A1", "box closed", "A1 again", "A2", "B1"}));
}

TEST(QtHandoff, AnswersToAnOwnerThatHasGoneAreDropped) {
  bool ran = false;
  auto owner = std::make_unique<QObject>();
  const auto handoff = QtHandoff::to(owner.get());
  handoff->post([&] { ran = true; });
  owner.reset();
  handoff->post([&] { ran = true; });
  QTest::qWait(20);
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace kalvori::desktop
