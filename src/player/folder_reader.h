// One reading of a folder for both of the player's lists: the folder list's subfolders and the file
// list's files come from one pass over the folder, made by a worker of a few threads of its own
// (background_worker.h), never on the UI thread; links are followed there too. The answer comes
// back through the Handoff. A folder whose reading is still under way (its mount hangs) is not read
// again: asking for it again waits for that reading. A reading nobody waits for any more is left to
// end, or not, on its own; with no thread to be had, a folder reads as empty. The threads are
// counted per mount: a dead share holds two of them, and a folder elsewhere is still read.
//
// What it deliberately does not do: show anything (the desktop's lists do), or know about any
// toolkit.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "player/background_worker.h"
#include "player/handoff.h"

namespace kalvori {

// The names of one listing, kept in one buffer: dropping a listing of any size then costs two
// frees, not one a name (which for 100,000 names is long enough to be seen).
class NameList {
 public:
  NameList() = default;
  explicit NameList(const std::vector<std::string>& names);
  std::size_t size() const { return ends_.size(); }
  std::string_view operator[](std::size_t i) const;

 private:
  std::string bytes_;              // every name, one after another
  std::vector<std::size_t> ends_;  // where each one ends
};

// What one reading found, made into NameLists in the worker, so that the UI thread never frees a
// name at a time.
struct FolderNames {
  NameList folders, files;
};

class FolderReader {
 public:
  // One request for a folder: done once its reading has come back, with what is waiting for it.
  struct Request {  // touched on the UI thread only
    std::string folder;
    bool done = false;
    std::shared_ptr<const FolderNames> names;    // once done
    std::vector<std::function<void()>> waiting;  // run when it is done
  };

  using MountOf = std::function<std::string(const std::string& folder)>;
  // Files are those that match `pattern` (the file list's). Without a handoff, folders are read at
  // once, on the caller's thread. Folders are counted by the mount `mountOf` finds (none given:
  // the system's mount table).
  FolderReader(std::shared_ptr<Handoff> handoff, std::string pattern, MountOf mountOf = {});
  // The request for `folder`: the one still under way when it is of the same folder, else a new one.
  std::shared_ptr<Request> read(const std::string& folder);

 private:
  using Worker = BackgroundWorker<std::shared_ptr<const FolderNames>>;
  std::shared_ptr<Worker> worker_;
  std::shared_ptr<Request> latest_;
};

}  // namespace kalvori
