// Fuzz target: any sequence of user actions on the whole window model, with a recording media
// device. The input picks, action by action, a click on any control (by its index in the form, so
// also hidden and covered ones) or a choice in one of the player's lists (drive, folder or file,
// named from a small table of ordinary and hostile names). After every action the storm rules that
// hold in every state of the window are checked (tests/robustness/storm_rules.h: fixed values, one
// mode, one view, the commas, the lists, what the device hears), and one more of the lists: a drive
// choice opens the drive, or is refused with a message and leaves the folder as it was (a disc drive
// without a disc, a volume that is gone).
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "robustness/storm_rules.h"
#include "support/fake_media_device.h"
#include "window/main_window.h"

namespace kalvori::fuzz {
namespace {

namespace fs = std::filesystem;

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

}  // namespace
}  // namespace kalvori::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvori;
  using namespace kalvori::fuzz;
  const World& w = world();
  static const testing::FixedValues fixed(*createMainWindow());
  testing::RecordingMediaDevice device;
  const std::unique_ptr<Form> form = createMainWindow(&device, *w.files, w.music);
  testing::StormRules rules(*form, fixed);
  int messages = 0;
  std::string messageFault;
  form->setMessageSink([&](const std::string& text) {
    ++messages;
    if (messageFault.empty()) messageFault = rules.checkMessage(text);
  });
  form->load();
  check(device.log == std::vector<std::string>{"type:MPEGVideo"}, "load");
  check(rules.afterClick("", &w.places).empty(), "start: " + rules.afterClick("", &w.places));

  Input in(data, size);
  for (int step = 0; !in.done(); ++step) {
    const std::size_t before = device.log.size();
    std::string where = "step " + std::to_string(step) + " ";
    std::string acted;  // the reachable control the action was on, if any
    switch (in.pick(4)) {
      case 0: {
        const Control& c = form->controls()[in.pick(form->controls().size())];
        where += "click " + c.name;
        // A click on the file list itself plays what it has chosen, as a choice does.
        if (form->isReachable(c.name)) acted = c.name;
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
        if (form->isReachable("File1")) acted = "File1";
        form->chooseFile("File1", name);
        break;
      }
    }
    std::string fault = rules.afterClick(acted, &w.places);
    if (fault.empty()) fault = std::exchange(messageFault, "");
    check(fault.empty(), where + ": " + fault);
    const std::vector<std::string> heard(device.log.begin() + static_cast<std::ptrdiff_t>(before), device.log.end());
    if (heard != testing::deviceCommandsFor(*form, acted)) {
      std::string said;
      for (const std::string& h : heard) said += " [" + escaped(h) + "]";
      fail(where + ": the device heard" + said);
    }
  }
  return 0;
}
