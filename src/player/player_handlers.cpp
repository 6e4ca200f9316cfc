#include "player/player_handlers.h"

#include <memory>

namespace kalvori {

namespace {

const char* const kInsertDisc = "请插入光盘";

// Closes what was open, then opens and plays the chosen file from its beginning.
void playChosenFile(Form& f) {
  const std::string path = mediaPath(f.control("Dir1").path, f.control("File1").fileName);
  f.setCommand("MMControl1", "close");
  f.setFileName("MMControl1", path);
  f.setCommand("MMControl1", "open");
  f.setCommand("MMControl1", "play");
}

std::string driveText(const FileBrowser& files, const std::string& folder) {
  const std::vector<Place> places = files.places();
  const Place* p = placeFor(places, folder);
  return p ? p->text : std::string();
}

}  // namespace

void bindPlayer(Form& form, MediaDevice* device, const FileBrowser& files, const std::string& startFolder) {
  // The lists start in the given folder with no file chosen; nothing is raised for it.
  form.setDrive("Drive1", driveText(files, startFolder));
  form.setPath("Dir1", startFolder);
  form.setPath("File1", startFolder);

  if (device) {
    form.addPropertyHook([device](const Control& c, Property p) {
      if (c.name != "MMControl1") return;
      if (p == Property::DeviceType) device->setDeviceType(c.deviceType);
      if (p == Property::FileName) device->setFileName(c.fileName);
      if (p == Property::Command) device->command(c.command);
    });
  }

  // Whether the chosen drive can be read waits for its mount, so it is asked off the UI thread and
  // the handler goes on when the answer comes. A newer choice of drive overtakes an older one
  // still waiting; `latest` also tells an answer whether the form (which holds this handler) is
  // still there.
  auto latest = std::make_shared<unsigned>(0);
  form.on("Drive1", Event::Change, [&files, latest](Form& f) {
    const std::string chosen = f.control("Drive1").drive;
    std::string root;
    for (const Place& p : files.places())
      if (p.text == chosen) root = p.root;
    const unsigned ticket = ++*latest;
    files.whenReadable(root, [&f, &files, root, ticket, weak = std::weak_ptr<unsigned>(latest)](bool readable) {
      const auto current = weak.lock();
      if (!current || *current != ticket) return;
      if (readable) {
        f.setPath("Dir1", root);
        return;
      }
      f.showMessage(kInsertDisc);
      // The lists stay where they were, and so the drive list shows their drive again.
      f.setDrive("Drive1", driveText(files, f.control("Dir1").path));
    });
  });
  form.on("Dir1", Event::Change, [](Form& f) { f.setPath("File1", f.control("Dir1").path); });
  form.on("File1", Event::Click, playChosenFile);
  form.on("kkk", Event::Click, [](Form& f) {
    playChosenFile(f);
    f.setCommand("MMControl1", "play");
  });
  form.on("ttt", Event::Click, [](Form& f) { f.setCommand("MMControl1", "stop"); });
}

}  // namespace kalvori
