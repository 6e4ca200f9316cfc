// The platform's side of the drive list: what is mounted now, and which optical drives there are.
// Both read the system anew on each call; FileBrowser takes them as its sources. The reading of the
// mount table itself takes any text, so that what the kernel may write there can be tried without
// mounting it. Also which mount a path lies on, which the background work counts its limits by: a
// share that hangs holds only its own few threads.
//
// What it deliberately does not do: call on a mounted file system (not even stat its root), so
// that a mount that hangs costs nothing.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "player/file_browser.h"

namespace kalvori {

// Every mounted volume, from the mount table alone: nothing here calls on a file system, so a
// mount that hangs costs nothing; labels come from /dev/disk/by-label. Removable or network:
// mounted under /media, /run/media or /mnt (where desktops and users put sticks and discs), or of
// a network file system type.
std::vector<Volume> mountedVolumes();
// The optical drives (/dev/sr0, /dev/sr1, ...), each with where its disc is mounted, if anywhere.
std::vector<OpticalDrive> opticalDrives();

// Device labels by device node ("/dev/sdb1" -> "STICK").
using DeviceLabels = std::map<std::string, std::string>;
// What the two above find, from a given mount table in the kernel's format (/proc/self/mountinfo),
// given labels and given drive nodes. A line that cannot be read is skipped.
std::vector<Volume> volumesIn(std::string_view mountTable, const DeviceLabels& labels);
std::vector<OpticalDrive> opticalDrivesIn(std::vector<std::string> devices, std::string_view mountTable);

// The mount point that holds `path` (absolute): the longest mount point of the table that is the
// path or a folder above it, compared as written (links are not followed: that would call on the
// file systems). "/" when none is.
std::string mountPointOf(const std::string& path);
std::string mountPointIn(std::string_view mountTable, const std::string& path);

}  // namespace kalvori
