#include "player/player_handlers.h"

#include <memory>

namespace kalvori {

namespace {

const char* const kInsertDisc = "请插入光盘";

// The player's controls, looked up once when the handlers are bound.
struct PlayerControls {
  explicit PlayerControls(const Form& form)
      : drives(form.id("Drive1")), folders(form.id("Dir1")), files(form.id("File1")), media(form.id("MMControl1")) {}
  ControlId drives, folders, files, media;

  // Closes what was open, then opens and plays the chosen file from its beginning.
  void playChosenFile(Form& f) const {
    const std::string path = mediaPath(f.control(folders).path, f.control(files).fileName);
    f.setCommand(media, "close");
    f.setFileName(media, path);
    f.setCommand(media, "open");
    f.setCommand(media, "play");
  }
};

std::string driveText(const FileBrowser& files, const std::string& folder) {
  const std::vector<Place> places = files.places();
  const Place* p = placeFor(places, folder);
  return p ? p->text : std::string();
}

}  // namespace

void bindPlayer(Form& form, MediaDevice* device, const FileBrowser& files, const std::string& startFolder) {
  const PlayerControls player(form);
  // The lists start in the given folder with no file chosen; nothing is raised for it.
  form.setDrive(player.drives, driveText(files, startFolder));
  form.setPath(player.folders, startFolder);
  form.setPath(player.files, startFolder);

  if (device) {
    form.addPropertyHook([device, media = player.media](const Control& c, Property p) {
      if (c.index != media.index()) return;
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
  form.on(player.drives, Event::Change, [&files, latest, player](Form& f) {
    const std::string chosen = f.control(player.drives).drive;
    std::string root;
    for (const Place& p : files.places())
      if (p.text == chosen) root = p.root;
    const unsigned ticket = ++*latest;
    files.whenReadable(root, [&f, &files, root, ticket, player, weak = std::weak_ptr<unsigned>(latest)](bool readable) {
      const auto current = weak.lock();
      if (!current || *current != ticket) return;
      if (readable) {
        f.setPath(player.folders, root);
        return;
      }
      f.showMessage(kInsertDisc);
      // The lists stay where they were, and so the drive list shows their drive again.
      f.setDrive(player.drives, driveText(files, f.control(player.folders).path));
    });
  });
  form.on(player.folders, Event::Change, [player](Form& f) { f.setPath(player.files, f.control(player.folders).path); });
  form.on(player.files, Event::Click, [player](Form& f) { player.playChosenFile(f); });
  form.on(form.id("kkk"), Event::Click, [player](Form& f) {
    player.playChosenFile(f);
    f.setCommand(player.media, "play");
  });
  form.on(form.id("ttt"), Event::Click, [media = player.media](Form& f) { f.setCommand(media, "stop"); });
}

}  // namespace kalvori
