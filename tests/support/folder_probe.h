// What the file browser's worker finds in a folder, asked on the caller's thread, as only tests
// and fuzzing want it: these wait for the folder's mount, which the program never does on its UI
// thread.
#pragma once

#include <dirent.h>

#include <string>
#include <vector>

#include "player/file_browser.h"

namespace kalvori::testing {

// Whether the folder can be listed now: the drive check's answer.
inline bool canRead(const std::string& folder) {
  if (folder.empty()) return false;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  closedir(dir);
  return true;
}
// The names of the folder's subfolders, sorted, without hidden (dot) folders.
inline std::vector<std::string> subfolders(const std::string& folder) { return readFolder(folder, "").folders; }
// The names of the folder's files that match one of the ';'-separated wildcard patterns, as the
// file list shows them.
inline std::vector<std::string> files(const std::string& folder, const std::string& pattern) {
  return readFolder(folder, pattern).files;
}

}  // namespace kalvori::testing
