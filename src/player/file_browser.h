// What the player's three lists show: the places a user browses from (the drive list), the
// folders of a folder, and the media files of a folder. Paths are bytes as the file system names
// them, with "/" as the separator; any name a folder can hold is listed and opened as it is.
//
// Reading a folder or judging a drive may block for as long as its mount hangs: the lists and
// the handlers ask for those off the UI thread (readFolder in FolderReader's worker, whenReadable
// in a worker of a few threads of its own). The drive list itself comes from the mount table and
// /dev, never from the volumes.
//
// What it deliberately does not do: keep a current folder or a selection (those are the list
// controls' properties in the window), or throw: a folder that cannot be read, or that vanished,
// simply has nothing in it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "player/background_worker.h"
#include "player/handoff.h"

namespace kalvori {

// One entry of the drive list.
struct Place {
  std::string text;  // what the list shows: where the place is, and its label
  std::string root;  // the folder it opens ("" for an optical drive that holds no disc)
  friend bool operator==(const Place&, const Place&) = default;
};

// A mounted volume as the platform reports it.
struct Volume {
  std::string root;   // where it is mounted
  std::string label;  // its name, or its device when it has none
  bool removableOrNetwork = false;
};
// An optical drive, whether or not it holds a disc.
struct OpticalDrive {
  std::string device;      // e.g. "/dev/sr0"
  std::string mountPoint;  // empty when no disc is mounted
};

// What one reading of a folder finds: its subfolders and its files that match the pattern.
struct FolderListing {
  std::vector<std::string> folders;
  std::vector<std::string> files;
};

class FileBrowser {
 public:
  using VolumeSource = std::function<std::vector<Volume>()>;
  using OpticalSource = std::function<std::vector<OpticalDrive>()>;

  // Without sources the drive list holds the root and the home folder only. Without a handoff,
  // whenReadable answers at once, on the caller's thread.
  FileBrowser(VolumeSource volumes = {}, OpticalSource optical = {}, std::shared_ptr<Handoff> handoff = {});

  // The root "/", the home folder, every mounted removable or network volume, and every optical
  // drive (one without a disc has an empty root, so that choosing it shows the insert-disc
  // message). Read anew on each call.
  std::vector<Place> places() const;
  // Whether a place's folder can be listed now, asked off the UI thread: `answer` runs on it once
  // the folder has been tried (opening it is the only sure test). A drive whose check is still
  // under way (its mount hangs) is not tried again: the answer waits for that check. Checks are
  // counted per mount, as folder readings are. With no thread to be had, the answer is "cannot be
  // read".
  void whenReadable(const std::string& folder, std::function<void(bool)> answer) const;

 private:
  VolumeSource volumes_;
  OpticalSource optical_;
  std::shared_ptr<Handoff> handoff_;
  // Shared by copies of the browser; its threads are the drive checks'.
  std::shared_ptr<BackgroundWorker<bool>> checks_;
};

// The browser used where none is given: the root and the home folder, answering at once.
const FileBrowser& plainFileBrowser();

// Reads the folder once: the names of its subfolders, and of its files (not folders) that match one
// of the ';'-separated wildcard patterns, compared without regard to ASCII case whatever the locale
// ("SONG.MID" matches "*.mid" under Turkish too); both sorted, without hidden (dot) entries. Safe in
// any thread; it touches nothing but the folder.
FolderListing readFolder(const std::string& folder, const std::string& pattern);

// The folders from "/" down to `folder`, each as a full path: "/", "/home", "/home/ann".
std::vector<std::string> folderChain(const std::string& folder);
// The place whose root holds `folder` most closely (the longest root that is a folder prefix).
const Place* placeFor(const std::vector<Place>& places, const std::string& folder);
// The file's full path: the folder, "/" unless the folder already ends in one, the file name.
std::string mediaPath(std::string_view folder, std::string_view fileName);

}  // namespace kalvori
