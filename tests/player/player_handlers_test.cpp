// The player's handlers with a recording device and folders made for the test.
#include "player/player_handlers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/fake_media_device.h"
#include "support/temp_folder.h"
#include "support/form_state.h"
#include "window/main_window.h"

namespace kalvori {
namespace {

namespace fs = std::filesystem;
using Log = std::vector<std::string>;

class PlayerHandlers : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root + "/music/live");
    for (const char* f : {"music/b song.mp3", "music/A#1.WAV", "music/notes.txt", "top.mid"}) std::ofstream(root + "/" + f);
    start(root + "/music");
  }
  void start(const std::string& folder) {
    form = createMainWindow(&device, files, folder);
    messages.attach(*form);
    form->load();
    form->click("mp3");
    device.log.clear();
  }

  testing::TempFolder temp{"kalvori-player"};
  std::string root = temp.path();
  testing::RecordingMediaDevice device;
  // The test's own folder stands in for a removable volume; the last place is a disc drive
  // holding no disc.
  FileBrowser files{[this] { return std::vector<Volume>{{root, "TESTDISK", true}}; },
                    [] { return std::vector<OpticalDrive>{{"/dev/sr9", ""}}; }};
  std::unique_ptr<Form> form;
  testing::Messages messages;
};

TEST_F(PlayerHandlers, StartsInTheGivenFolderWithNothingChosen) {
  EXPECT_EQ(form->control("Dir1").path, root + "/music");
  EXPECT_EQ(form->control("File1").path, root + "/music");
  EXPECT_EQ(form->control("File1").fileName, "");
  EXPECT_EQ(form->control("Drive1").drive, root + "  [TESTDISK]");
  // Load set the device type and opened nothing.
  form = createMainWindow(&device, files, root);
  device.log.clear();
  form->load();
  EXPECT_EQ(device.log, (Log{"type:MPEGVideo"}));
}

TEST_F(PlayerHandlers, ChoosingAFileClosesOpensAndPlaysIt) {
  form->chooseFile("File1", "b song.mp3");
  EXPECT_EQ(device.log, (Log{"close", "file:" + root + "/music/b song.mp3", "open", "play"}));
  device.log.clear();
  form->chooseFile("File1", "A#1.WAV");  // the second stops the first by closing it
  EXPECT_EQ(device.log, (Log{"close", "file:" + root + "/music/A#1.WAV", "open", "play"}));
  // Back to the converter: it keeps playing; 播 replays from the start, 停 stops.
  device.log.clear();
  form->click("f1");
  EXPECT_TRUE(device.log.empty());
  form->click("kkk");
  EXPECT_EQ(device.log, (Log{"close", "file:" + root + "/music/A#1.WAV", "open", "play", "play"}));
  device.log.clear();
  form->click("ttt");
  EXPECT_EQ(device.log, (Log{"stop"}));
}

TEST_F(PlayerHandlers, ThePathRuleAtTheRootAndElsewhere) {
  EXPECT_EQ(mediaPath("/", "a.mp3"), "/a.mp3");
  EXPECT_EQ(mediaPath("/music", "a.mp3"), "/music/a.mp3");
  // 播 before any file is chosen plays a path that names no file.
  form->click("f1");
  form->click("kkk");
  EXPECT_EQ(device.log, (Log{"close", "file:" + root + "/music/", "open", "play", "play"}));
  start("/");
  form->click("f1");
  form->click("kkk");
  EXPECT_EQ(device.log[1], "file:/");
}

TEST_F(PlayerHandlers, OpeningAFolderRunsTheChainAndForgetsTheChosenFile) {
  form->chooseFile("File1", "b song.mp3");
  std::vector<std::string> order;
  form->setPropertyListener([&](const Control& c, Property p) {
    if (p == Property::Path || p == Property::FileName) order.push_back(c.name + "." + std::to_string(int(p)));
  });
  form->openFolder("Dir1", root + "/music/live");
  EXPECT_EQ(form->control("File1").path, root + "/music/live");
  EXPECT_EQ(form->control("File1").fileName, "");
  EXPECT_EQ(order, (Log{"Dir1.6", "File1.7", "File1.6"}));
  // A drive change runs the whole chain: drive, folder, files.
  form->chooseDrive("Drive1", "/  [根文件夹]");
  EXPECT_EQ(form->control("Dir1").path, "/");
  EXPECT_EQ(form->control("File1").path, "/");
}

TEST_F(PlayerHandlers, ADriveThatCannotBeReadIsRefused) {
  const testing::Snapshot before(*form);
  form->chooseDrive("Drive1", "/dev/sr9  [光驱]");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"请插入光盘"});
  // The lists stay where they were, and the drive list shows their drive again.
  EXPECT_TRUE(before.changesIn(*form).empty());
  EXPECT_EQ(form->control("Drive1").drive, root + "  [TESTDISK]");
  // A drive that vanished is refused the same way.
  form->chooseDrive("Drive1", "/nowhere  [GONE]");
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(form->control("Dir1").path, root + "/music");
}

TEST_F(PlayerHandlers, TheListsCanOnlyBeUsedInThePlayerView) {
  form->click("xilie");  // the reference panel covers them
  form->chooseFile("File1", "b song.mp3");
  form->openFolder("Dir1", "/");
  EXPECT_TRUE(device.log.empty());
  EXPECT_EQ(form->control("Dir1").path, root + "/music");
  form->click("fanhui1");
  form->click("ttt");  // the converter's 停 works from the converter
  EXPECT_EQ(device.log, (Log{"stop"}));
}

}  // namespace
}  // namespace kalvori
