#include <QApplication>
#include <QTimer>

#include "desktop/desktop_setup.h"
#include "desktop/form_widget.h"
#include "desktop/qt_handoff.h"
#include "player/gst_media_device.h"
#include "player/mounted_volumes.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kalvori::desktop::prepareApplication(app);
  QObject answers;  // what the workers and the media device answer comes back through it
  const auto handoff = kalvori::desktop::QtHandoff::to(&answers);
  kalvori::GstMediaDevice media({}, handoff);  // GStreamer itself starts once the window has shown
  const kalvori::FileBrowser files(kalvori::mountedVolumes, kalvori::opticalDrives, handoff);
  const auto form = kalvori::createMainWindow(&media, files, kalvori::startingFolder());
  kalvori::desktop::FormWidget window(*form, &media, &files);
  form->load();
  window.show();
  // Soon after the first frame, so that the first file played need not wait for GStreamer.
  QTimer::singleShot(300, [] { kalvori::GstMediaDevice::startInBackground(); });
  // Nothing is stored, and nothing is waited for on the way out: not a worker stuck on a mount,
  // nor a pipeline stuck on a stalled share (the device gives it up without joining it).
  return QApplication::exec();
}
