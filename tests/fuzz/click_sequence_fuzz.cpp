// Fuzz target: any sequence of user actions on the whole window model, with a recording media
// device. The input picks, action by action, a click on any control (by its index in the form, so
// also hidden and covered ones) or a choice in one of the player's lists (drive, folder or file,
// named from a small table of ordinary and hostile names). After every action the rules that hold
// in every state of the window are checked:
//   - exactly one mode option is selected, and dd1 and dd2 are never both shown;
//   - the window is in exactly one view: the converter (kkk reachable), the player (f1 reachable,
//     every player control shown) or the reference panel (fanhui1 reachable);
//   - the file list's folder is the folder list's, and the drive list shows a place or nothing;
//     a drive choice opens the drive, or is refused with a message and leaves the folder as it was
//     (a disc drive without a disc, a volume that is gone);
//   - the device hears exactly what the action asks of it: "stop" from ttt; close / file / open /
//     play of the path formed from the folder and the chosen file from a choice in the file list,
//     and the same and play once more from kkk; nothing from anything else.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "support/fake_media_device.h"
#include "window/main_window.h"

namespace kalvori::fuzz {
namespace {

namespace fs = std::filesystem;

const char* const kModes[] = {"r5", "r4", "l4", "c", "tr"};

// A small world for the lists, made once per process: a music folder with ordinary and hostile
// names, a link that loops, a volume whose folder is gone and an empty disc drive.
struct World {
  std::string base;
  std::string music;
  std::unique_ptr<FileBrowser> files;
  std::vector<std::string> places;                 // what the drive list offers
  std::vector<std::string> drives, folders, names;  // what the actions choose from

  World() {
    std::string pattern = (fs::temp_directory_path() / "kalvori-fuzz-clicks-XXXXXX").string();
    if (!mkdtemp(pattern.data())) fail("mkdtemp");
    base = pattern;
    music = base + "/歌 曲";
    fs::create_directories(music + "/sub");
    for (const char* name : {"a.mp3", "B.WAV", "new\nline.mid", "\xff\xfe.wav", "readme.txt", "sub/x.avi"})
      std::ofstream(music + "/" + name) << "not really media";
    fs::create_symlink("loop", base + "/loop");
    files = std::make_unique<FileBrowser>(
        [b = base] { return std::vector<Volume>{{b, "TEST", true}, {b + "/gone", "GONE", true}}; },
        [m = music] { return std::vector<OpticalDrive>{{"/dev/sr9", ""}, {"/dev/sr8", m}}; });
    for (const Place& p : files->places()) places.push_back(p.text);
    drives = places;
    drives.insert(drives.end(), {"", "nonsense", "/dev/sr9"});
    folders = {"/", base, music, music + "/sub", base + "/gone", base + "/loop", "", "relative", base + "//歌 曲/",
               music + "/a.mp3", music + "/\xff"};
    names = {"a.mp3", "B.WAV", "", "missing.wav", "new\nline.mid", "\xff\xfe.wav", "../歌 曲/a.mp3", "sub", "/"};
  }
  ~World() {
    std::error_code ignored;
    fs::remove_all(base, ignored);
  }
};

const World& world() {
  static const World made;
  return made;
}

enum class View { Converter, Player, Reference };

void checkRules(const Form& form, const World& w, const std::string& where) {
  int selected = 0;
  for (const char* m : kModes) selected += form.control(m).value;
  check(selected == 1, where + ": " + std::to_string(selected) + " mode options selected");
  check(!(form.control("dd1").visible && form.control("dd2").visible), where + ": dd1 and dd2 both shown");

  const View view = !form.control("zov").visible ? View::Converter
                    : !form.control("F2").visible ? View::Player
                                                  : View::Reference;
  check(form.isReachable("kkk") == (view == View::Converter), where + ": kkk reachable out of the converter");
  check(form.isReachable("f1") == (view == View::Player), where + ": f1 reachable out of the player");
  check(form.isReachable("fanhui1") == (view == View::Reference), where + ": fanhui1 out of the reference panel");
  if (view == View::Player) {
    for (const char* c : {"MMControl1", "f1", "Drive1", "Dir1", "File1"})
      check(form.isShown(c), where + ": player without " + c);
  }

  check(form.control("File1").path == form.control("Dir1").path, where + ": File1 and Dir1 in different folders");
  const std::string& drive = form.control("Drive1").drive;
  check(drive.empty() || std::find(w.places.begin(), w.places.end(), drive) != w.places.end(),
        where + ": drive list shows " + escaped(drive));
}

// What the device must hear in answer to one action: nothing, unless the action was a reachable
// ttt (stop), a choice in the reachable file list (a play of the chosen file) or a reachable kkk
// (the same, and play once more). A click on the file list itself plays its chosen file, as a choice
// does.
enum class Heard { Nothing, Stop, Play, Replay };

void checkDevice(const std::vector<std::string>& heard, Heard expected, const Form& form, const std::string& where) {
  std::vector<std::string> commands;
  if (expected == Heard::Stop) commands = {"stop"};
  if (expected == Heard::Play || expected == Heard::Replay) {
    const std::string path = mediaPath(form.control("Dir1").path, form.control("File1").fileName);
    commands = {"close", "file:" + path, "open", "play"};
    if (expected == Heard::Replay) commands.push_back("play");
  }
  if (heard == commands) return;
  std::string said;
  for (const std::string& h : heard) said += " [" + escaped(h) + "]";
  fail(where + ": the device heard" + said + " instead of " + std::to_string(commands.size()) + " commands");
}

}  // namespace
}  // namespace kalvori::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvori;
  using namespace kalvori::fuzz;
  const World& w = world();
  testing::RecordingMediaDevice device;
  const std::unique_ptr<Form> form = createMainWindow(&device, *w.files, w.music);
  int messages = 0;
  form->setMessageSink([&messages](const std::string&) { ++messages; });
  form->load();
  check(device.log == std::vector<std::string>{"type:MPEGVideo"}, "load");
  checkRules(*form, w, "start");

  Input in(data, size);
  for (int step = 0; !in.done(); ++step) {
    const std::size_t before = device.log.size();
    std::string where = "step " + std::to_string(step) + " ";
    Heard expected = Heard::Nothing;
    switch (in.pick(4)) {
      case 0: {
        const Control& c = form->controls()[in.pick(form->controls().size())];
        where += "click " + c.name;
        if (form->isReachable(c.name)) {
          if (c.name == "kkk") expected = Heard::Replay;
          if (c.name == "ttt") expected = Heard::Stop;
          if (c.name == "File1") expected = Heard::Play;  // a click in the list plays what it has chosen
        }
        form->click(c.name);
        break;
      }
      case 1: {
        const std::string& drive = w.drives[in.pick(w.drives.size())];
        where += "drive " + escaped(drive);
        const std::string folderBefore = form->control("Dir1").path;
        const int messagesBefore = messages;
        form->chooseDrive("Drive1", drive);
        // Opened, or refused with a message and the lists left where they were.
        if (messages > messagesBefore)
          check(form->control("Dir1").path == folderBefore, where + ": refused, and yet the folder changed");
        else if (form->isReachable("Drive1"))
          check(form->control("Drive1").drive == drive, where + ": neither opened nor refused");
        break;
      }
      case 2: {
        const std::string& folder = w.folders[in.pick(w.folders.size())];
        where += "folder " + escaped(folder);
        form->openFolder("Dir1", folder);
        break;
      }
      default: {
        const std::string& name = w.names[in.pick(w.names.size())];
        where += "file " + escaped(name);
        if (form->isReachable("File1")) expected = Heard::Play;
        form->chooseFile("File1", name);
        break;
      }
    }
    checkRules(*form, w, where);
    checkDevice({device.log.begin() + static_cast<std::ptrdiff_t>(before), device.log.end()}, expected, *form, where);
  }
  return 0;
}
