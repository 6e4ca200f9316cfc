// The drive list's sources: the mount table as the kernel writes it (escapes, bind mounts, optical
// discs, shares, lines that are not the kernel's), and against this machine, where the root must be
// among the volumes and nothing may crash without optical drives. (That reading them calls on no
// file system is checked with a hung mount by bench/ui_stalls/run.sh --check.)
#include "player/mounted_volumes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

namespace kalvori {
namespace {

// One line of /proc/self/mountinfo, with the fields that do not matter filled in.
std::string line(const std::string& mountPoint, const std::string& type, const std::string& source,
                 const std::string& rootInside = "/") {
  return "36 25 8:1 " + rootInside + " " + mountPoint + " rw,relatime shared:1 - " + type + " " + source + " rw\n";
}

TEST(MountTable, EachLineAsTheKernelWritesIt) {
  struct Case {
    const char* what;
    std::string table;
    Volume expected;
  };
  const Case cases[] = {
      {"the root", line("/", "ext4", "/dev/sda1"), {"/", "/dev/sda1", false}},
      {"a blank, written \\040", line("/media/me/MY\\040STICK", "vfat", "/dev/sdb1"),
       {"/media/me/MY STICK", "/dev/sdb1", true}},
      {"tab, newline and backslash", line("/mnt/a\\011b\\012c\\134d", "ext4", "/dev/sdc1"),
       {"/mnt/a\tb\nc\\d", "/dev/sdc1", true}},
      {"an escape cut short stays as written", line("/srv/x\\04", "ext4", "/dev/sdd1"),
       {"/srv/x\\04", "/dev/sdd1", false}},
      {"a bind mount: where it is mounted, not the folder inside its device",
       line("/srv/music", "ext4", "/dev/sda1", "/home/me/music"), {"/srv/music", "/dev/sda1", false}},
      {"an optical disc (iso9660)", line("/media/me/DISC", "iso9660", "/dev/sr0"),
       {"/media/me/DISC", "/dev/sr0", true}},
      {"an optical disc (udf)", line("/run/media/me/FILM", "udf", "/dev/sr1"),
       {"/run/media/me/FILM", "/dev/sr1", true}},
      {"a share, wherever mounted", line("/srv/share", "cifs", "//server/music"),
       {"/srv/share", "//server/music", true}},
      {"an NFS export", line("/data", "nfs4", "server:/export"), {"/data", "server:/export", true}},
      {"/mnt, but not /mnt2", line("/mnt2", "ext4", "/dev/sde1"), {"/mnt2", "/dev/sde1", false}},
      {"optional fields before the separator", "40 25 0:40 / /media/x rw shared:7 master:3 - vfat /dev/sdf1 rw\n",
       {"/media/x", "/dev/sdf1", true}},
  };
  for (const Case& c : cases) {
    const std::vector<Volume> volumes = volumesIn(c.table, {});
    ASSERT_EQ(volumes.size(), 1u) << c.what;
    EXPECT_EQ(volumes[0].root, c.expected.root) << c.what;
    EXPECT_EQ(volumes[0].label, c.expected.label) << c.what;
    EXPECT_EQ(volumes[0].removableOrNetwork, c.expected.removableOrNetwork) << c.what;
  }
}

// The mount a path lies on counts the background work's threads: the longest mount point that is
// the path or a folder above it, compared at a slash.
TEST(MountTable, TheMountOfAPathIsTheLongestMountPointAboveIt) {
  const std::string table = line("/", "ext4", "/dev/sda1") + line("/mnt/nas", "cifs", "//s/a") +
                            line("/mnt/nas/deep", "nfs4", "t:/b") + line("/media/MY\\040STICK", "vfat", "/dev/sdb1");
  const struct {
    const char* path;
    const char* mount;
  } cases[] = {
      {"/home/me/song.wav", "/"},          {"/mnt/nas", "/mnt/nas"},
      {"/mnt/nas/a/b.wav", "/mnt/nas"},    {"/mnt/nas/deep/x.wav", "/mnt/nas/deep"},
      {"/mnt/nasty/x.wav", "/"},           {"/media/MY STICK/x.mid", "/media/MY STICK"},
      {"relative/x.wav", "/"},
  };
  for (const auto& c : cases) EXPECT_EQ(mountPointIn(table, c.path), c.mount) << c.path;
  EXPECT_EQ(mountPointOf("/"), "/");
}

TEST(MountTable, LabelsByDeviceNode) {
  const std::vector<Volume> volumes = volumesIn(line("/media/me/x", "vfat", "/dev/sdb1"), {{"/dev/sdb1", "MUSIC"}});
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(volumes[0].label, "MUSIC");
}

TEST(MountTable, LinesThatAreNotTheKernelsAreSkipped) {
  const std::string malformed[] = {
      "",
      "\n\n",
      "36 25 8:1 / /x",                          // cut short before the separator
      "36 25 8:1 / /x rw - ext4",                // no source
      "36 25 8:1 / /x rw ext4 /dev/sda1 rw",     // no separator
      "36 25 8:1 / relative rw - ext4 /dev/sda1",  // a mount point not from the root
      "- - - - - - - -",
      "\\\\\\ \\777 \\0 \\",
      std::string(100'000, 'x'),
  };
  for (const std::string& text : malformed) {
    EXPECT_TRUE(volumesIn(text, {}).empty()) << text;
  }
  // Good lines around a bad one are kept.
  const std::string mixed = line("/", "ext4", "/dev/sda1") + "garbage\n" + line("/media/me/x", "vfat", "/dev/sdb1");
  EXPECT_EQ(volumesIn(mixed, {}).size(), 2u);
}

TEST(MountTable, OpticalDrivesWithTheirDiscs) {
  const std::string table = line("/", "ext4", "/dev/sda1") + line("/media/me/DISC", "iso9660", "/dev/sr1") +
                            line("/srv/copy", "iso9660", "/dev/sr1", "/sub");  // a second mount of the same disc
  const std::vector<OpticalDrive> drives = opticalDrivesIn({"/dev/sr10", "/dev/sr1", "/dev/sr2"}, table);
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0].device, "/dev/sr1");  // sr2 before sr10
  EXPECT_EQ(drives[0].mountPoint, "/media/me/DISC");
  EXPECT_EQ(drives[1].device, "/dev/sr2");
  EXPECT_EQ(drives[1].mountPoint, "");
  EXPECT_EQ(drives[2].device, "/dev/sr10");
}

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
