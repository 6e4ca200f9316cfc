// The platform's side of the drive list: what is mounted now, and which optical drives there are.
// Both read the system anew on each call; FileBrowser takes them as its sources.
#pragma once

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

}  // namespace kalvori
