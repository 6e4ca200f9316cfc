// The drive list's sources against this machine: whatever is mounted here, the root must be among
// the volumes, and nothing may crash on a machine without optical drives. (That reading them calls
// on no file system is checked with a hung mount by bench/ui_stalls/run.sh --check.)
#include "player/mounted_volumes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

namespace kalvori {
namespace {

TEST(MountedVolumes, TheRootIsAmongThem) {
  const std::vector<Volume> volumes = mountedVolumes();
  EXPECT_TRUE(std::any_of(volumes.begin(), volumes.end(), [](const Volume& v) { return v.root == "/"; }));
  for (const Volume& v : volumes) {
    EXPECT_FALSE(v.root.empty());
    EXPECT_FALSE(v.label.empty()) << v.root;
    if (v.root.starts_with("/media/") || v.root.starts_with("/run/media/")) {
      EXPECT_TRUE(v.removableOrNetwork) << v.root;
    }
  }
}

TEST(MountedVolumes, OpticalDrivesAreBlockDevices) {
  const std::vector<OpticalDrive> drives = opticalDrives();
  if (drives.empty()) GTEST_SKIP() << "this machine has no optical drive (/dev/sr*)";
  for (const OpticalDrive& d : drives) {
    struct stat st {};
    EXPECT_TRUE(d.device.starts_with("/dev/sr")) << d.device;
    EXPECT_TRUE(::stat(d.device.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) << d.device;
  }
}

}  // namespace
}  // namespace kalvori
