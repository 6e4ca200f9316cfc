#include <QApplication>

#include "desktop/desktop_setup.h"
#include "desktop/form_widget.h"
#include "player/gst_media_device.h"
#include "player/mounted_volumes.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kalvori::desktop::prepareApplication(app);
  kalvori::GstMediaDevice media;  // GStreamer itself starts with the first file opened
  const kalvori::FileBrowser files(kalvori::mountedVolumes, kalvori::opticalDrives);
  const auto form = kalvori::createMainWindow(&media, files, kalvori::startingFolder());
  kalvori::desktop::FormWidget window(*form, &media, &files);
  form->load();
  window.show();
  return QApplication::exec();
}
