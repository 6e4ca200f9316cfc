// The camera view fed by GStreamer's test picture: it shows the picture, "拍照" and Space hand it
// over and close, Esc closes and stops the camera, and a search that finds nothing says so.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "desktop/camera_view.h"

namespace kalvori::desktop {
namespace {

constexpr int kLimitMs = 20000;  // only to catch a hang

CameraView::FindCameras finding(std::vector<std::string> descriptions) {
  return [descriptions](auto answer) {
    std::vector<Camera> cameras;
    for (const std::string& d : descriptions) cameras.push_back(Camera{"测试画面", "", {}, d});
    answer(std::move(cameras));
  };
}

struct Opened {
  QWidget window;
  CameraView view;
  explicit Opened(CameraView::FindCameras find) : view(&window, std::move(find)) {
    window.resize(480, 360);
    window.show();
    view.open();
  }
};

TEST(CameraView, ShowsTheCamerasPictureAndTakesItWithTheButton) {
  Opened o(finding({"videotestsrc pattern=green ! video/x-raw,width=160,height=120"}));
  QSignalSpy taken(&o.view, &CameraView::taken);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !o.view.picture().isNull(); }, kLimitMs));
  EXPECT_EQ(o.view.picture().size(), QSize(160, 120));
  QTest::mouseClick(o.view.findChild<QPushButton*>(QStringLiteral("cameraTake")), Qt::LeftButton);
  ASSERT_EQ(taken.size(), 1);
  const QImage photo = taken.at(0).at(0).value<QImage>();
  EXPECT_EQ(photo.size(), QSize(160, 120));
  EXPECT_EQ(photo.pixelColor(80, 60), QColor(0, 255, 0));
  EXPECT_FALSE(o.view.isVisible());
  EXPECT_FALSE(o.view.cameraOn());
}

TEST(CameraView, SpaceTakesAndEscClosesWithoutAPicture) {
  Opened o(finding({"videotestsrc pattern=ball"}));
  QSignalSpy taken(&o.view, &CameraView::taken);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !o.view.picture().isNull(); }, kLimitMs));
  QTest::keyClick(&o.view, Qt::Key_Escape);
  EXPECT_FALSE(o.view.isVisible());
  EXPECT_FALSE(o.view.cameraOn());
  QTest::qWait(100);  // a picture still on its way is not shown
  EXPECT_EQ(taken.size(), 0);

  o.view.open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !o.view.picture().isNull(); }, kLimitMs));
  QTest::keyClick(&o.view, Qt::Key_Space);
  EXPECT_EQ(taken.size(), 1);
  EXPECT_FALSE(o.view.isVisible());
}

TEST(CameraView, SaysWhenThereIsNoCameraOrItFails) {
  Opened none(finding({}));
  QWidget* picture = none.view.findChild<QWidget*>(QStringLiteral("cameraPicture"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return picture->accessibleName() == QStringLiteral("没有找到摄像头"); }, kLimitMs));

  Opened broken(finding({"nosuchelement"}));
  picture = broken.view.findChild<QWidget*>(QStringLiteral("cameraPicture"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return picture->accessibleName().startsWith(QStringLiteral("打不开摄像头")); }, kLimitMs));
  EXPECT_FALSE(broken.view.findChild<QPushButton*>(QStringLiteral("cameraTake"))->isEnabled());
}

}  // namespace
}  // namespace kalvori::desktop
