// Renders the window offscreen in each of its views and modes and saves PNG pictures, for the
// README and for looking at the window without a display:  screenshots OUTPUT_DIR [SCALE]
// At a SCALE other than 1 (Qt's scale factor: 2 for a screen of twice the usual density) the
// pictures have SCALE times the pixels and are named NAME@SCALEx.png. The player shows a
// demonstration folder made for the pictures.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "desktop/camera_view.h"
#include "desktop/desktop_setup.h"
#include "desktop/form_widget.h"
#include "desktop/photo_readings_strip.h"
#include "desktop/photo_view.h"
#include "photo_file/photo_file.h"
#include "support/resistor_render.h"
#include "window/main_window.h"

namespace {

// The folder the player shows: a few empty sample files made here and cleared away afterwards, so
// that the pictures show no folder of the machine that made them. Its name is fixed, so that the
// pictures come out the same each time; only what was made here is removed again.
class DemoFolder {
 public:
  DemoFolder() {
    namespace fs = std::filesystem;
    for (const fs::path& f : kFolders)
      if (fs::create_directory(f)) made_.push_back(f);
    for (const char* name : {"夜曲.mp3", "test tone.wav", "song #1.mid", "练习曲.mp3"}) {
      const fs::path f = kFolders.back() / name;
      if (!fs::exists(f)) {
        std::ofstream{f};
        made_.push_back(f);
      }
    }
    for (const char* name : {"古典", "民乐"})
      if (fs::create_directory(kFolders.back() / name)) made_.push_back(kFolders.back() / name);
  }
  ~DemoFolder() {
    std::error_code ignored;
    for (auto f = made_.rbegin(); f != made_.rend(); ++f) std::filesystem::remove(*f, ignored);
  }
  DemoFolder(const DemoFolder&) = delete;
  DemoFolder& operator=(const DemoFolder&) = delete;
  std::string path() const { return kFolders.back().string(); }

 private:
  inline static const std::vector<std::filesystem::path> kFolders{"/tmp/kalvori-demo", "/tmp/kalvori-demo/音乐"};
  std::vector<std::filesystem::path> made_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [SCALE]\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QByteArray scale = argc == 3 ? QByteArray(argv[2]) : QByteArray("1");
  bool isNumber = false;
  if (scale.toDouble(&isNumber) <= 0 || !isNumber) {
    std::fprintf(stderr, "SCALE must be a positive number, such as 1.5 or 2\n");
    return 2;
  }
  qputenv("QT_SCALE_FACTOR", scale);  // read when the application starts
  const QString suffix = scale == "1" ? QString() : QStringLiteral("@%1x").arg(QString::fromLatin1(scale));
  QApplication app(argc, argv);
  kalvori::desktop::prepareApplication(app);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const DemoFolder demo;
  const kalvori::FileBrowser files;

  using Clicks = std::vector<const char*>;
  // The clicks, then what is typed into the look-up line (none: it stays closed); the line draws
  // the marking of what it read beside the answer, banded or printed.
  struct Scene {
    const char* name;
    Clicks clicks;
    const char* lookUp = nullptr;
  };
  const std::vector<Scene> scenes = {
      {"converter-start", {}},
      {"five-band", {"a1", "b0", "c0", "d2", "e0"}},
      {"four-band", {"r4", "b4", "c7", "d3", "e1"}},
      {"inductor", {"l4", "b1", "c04", "dl2", "e1"}},
      {"capacitor", {"c", "b4", "c7", "dc4"}},
      {"chip-resistor", {"tr", "b4", "c7", "d2"}},
      {"player", {"mp3"}},
      {"reference", {"texing"}},
      {"lookup", {"r4", "b4", "c7", "d2", "e1"}, "4k7 5%"},
      {"lookup-capacitor", {"c"}, "104K 2A"},
  };
  // A window of its own for each picture, shown; none when it never appears.
  struct Shown {
    std::unique_ptr<kalvori::Form> form;
    std::unique_ptr<kalvori::desktop::FormWidget> window;
  };
  auto show = [&]() -> std::optional<Shown> {
    Shown s{kalvori::createMainWindow(nullptr, files, demo.path()), nullptr};
    s.window = std::make_unique<kalvori::desktop::FormWidget>(*s.form, nullptr, &files);
    s.form->load();
    s.window->show();
    if (!QTest::qWaitForWindowExposed(s.window.get())) return std::nullopt;
    return s;
  };
  auto save = [&](QWidget& shown, const char* name) {
    QApplication::processEvents();
    const QString file = out.filePath(QString::fromLatin1(name) + suffix + ".png");
    if (shown.grab().save(file)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
  };
  for (const auto& [name, clicks, lookUp] : scenes) {
    auto s = show();
    if (!s) return 1;
    for (const char* c : clicks) s->form->click(c);
    if (lookUp) {
      QTest::keyClick(s->window.get(), Qt::Key_F, Qt::ControlModifier);
      QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(lookUp));
    }
    // The control area whole, also where a small screen leaves part of it scrolled out of view.
    if (!save(*s->window->canvas(), name)) return 1;
  }
  // The photo view over the window, with a painted resistor pasted (yellow violet red gold on a
  // beige body, tilted), once its readings are drawn.
  {
    auto s = show();
    if (!s) return 1;
    kalvori::test::ResistorScene scene;
    scene.bands = {kalvori::Band::Yellow, kalvori::Band::Violet, kalvori::Band::Red, kalvori::Band::Gold};
    scene.angle = -0.2;
    scene.background = {214, 210, 200};
    QGuiApplication::clipboard()->setImage(kalvori::imageFromPhoto(kalvori::test::renderResistor(scene)));
    QTest::keyClick(s->window.get(), Qt::Key_V, Qt::ControlModifier);
    auto* photo = static_cast<kalvori::desktop::PhotoView*>(s->window->findChild<QWidget*>("photoView"));
    if (!photo || !QTest::qWaitFor([&] { return photo->readings()->count() > 0; }, 20000)) return 1;
    if (!save(*s->window, "photo")) return 1;
  }
  // The camera view over the window, fed by GStreamer's test picture (its plain colour bars, the
  // same every time): no camera needed.
  auto s = show();
  if (!s) return 1;
  kalvori::desktop::CameraView camera(s->window->canvas(), [](auto answer) {
    answer({kalvori::Camera{"USB 摄像头", "/dev/video0", {}, "videotestsrc pattern=smpte100 ! video/x-raw,width=640,height=480"}});
  });
  camera.open();
  if (!QTest::qWaitFor([&] { return !camera.picture().isNull(); }, 20000)) return 1;
  if (!save(*s->window->canvas(), "camera")) return 1;
  return 0;
}
