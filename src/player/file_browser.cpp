#include "player/file_browser.h"

#include <dirent.h>
#include <fnmatch.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "player/mounted_volumes.h"

namespace kalvori {
namespace {

namespace fs = std::filesystem;

// The same folder written one way: repeated slashes collapsed and trailing ones dropped ("/" stays
// "/"), so that "/home/ann/" and "//home/ann" compare equal to "/home/ann".
std::string normalized(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path)
    if (c != '/' || out.empty() || out.back() != '/') out += c;
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

// $HOME as the user set it; the password database only when it is unset, as a shell does.
std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return normalized(home);
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
    return normalized(found->pw_dir);
  return {};
}

// The ';'-separated patterns, each without the blanks around it; empty ones are dropped.
std::vector<std::string> splitPatterns(const std::string& patterns) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t stop = patterns.find(';', start);
    if (stop == std::string::npos) stop = patterns.size();
    const size_t first = patterns.find_first_not_of(" \t", start);
    if (first < stop) {
      const size_t last = patterns.find_last_not_of(" \t", stop - 1);
      out.push_back(patterns.substr(first, last - first + 1));
    }
    start = stop + 1;
  }
  return out;
}

// Letters A-Z as a-z, every other byte as it is. The patterns are ASCII ("*.mid"): folding in the
// user's locale would make 'I' a dotless i under Turkish, and "SONG.MID" would not match.
std::string asciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Two checks of one mount may hang at once and another mount still be judged.
constexpr BackgroundWorker<bool>::Limits kDriveCheckThreads{2, 8};

// Opening it is the only sure test: permissions, ACLs, a vanished disc and root's privileges all
// have their say there.
bool canOpen(const std::string& folder) {
  if (folder.empty()) return false;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  closedir(dir);
  return true;
}

}  // namespace

FileBrowser::FileBrowser(VolumeSource volumes, OpticalSource optical, std::shared_ptr<Handoff> handoff)
    : volumes_(std::move(volumes)),
      optical_(std::move(optical)),
      handoff_(std::move(handoff)),
      checks_(std::make_shared<BackgroundWorker<bool>>("drive check", kDriveCheckThreads, handoff_, canOpen, false,
                                                       mountPointOf)) {}

const FileBrowser& plainFileBrowser() {
  static const FileBrowser files;
  return files;
}

std::vector<Place> FileBrowser::places() const {
  std::vector<Place> places;
  auto listed = [&](const std::string& root) {
    return std::any_of(places.begin(), places.end(), [&](const Place& p) { return p.root == root; });
  };
  places.push_back({"/  [根文件夹]", "/"});
  if (const std::string home = homeFolder(); !home.empty() && !listed(home))
    places.push_back({home + "  [主文件夹]", home});

  const std::vector<OpticalDrive> drives = optical_ ? optical_() : std::vector<OpticalDrive>{};
  // A mounted disc also shows up among the volumes; it is listed once, under its drive.
  auto onDrive = [&](const std::string& root) {
    return std::any_of(drives.begin(), drives.end(),
                       [&](const OpticalDrive& d) { return !d.mountPoint.empty() && normalized(d.mountPoint) == root; });
  };
  if (volumes_) {
    for (const Volume& v : volumes_()) {
      const std::string root = normalized(v.root);
      if (!v.removableOrNetwork || root.empty() || listed(root) || onDrive(root)) continue;
      places.push_back({root + "  [" + v.label + "]", root});
    }
  }
  for (const OpticalDrive& d : drives) {
    const std::string text = d.device + "  [光驱]";
    const std::string root = normalized(d.mountPoint);
    const bool seen = std::any_of(places.begin(), places.end(), [&](const Place& p) { return p.text == text; });
    if (seen || (!root.empty() && listed(root))) continue;
    places.push_back({text, root});
  }
  return places;
}

void FileBrowser::whenReadable(const std::string& folder, std::function<void(bool)> answer) const {
  checks_->ask(folder, std::move(answer));
}

FolderListing readFolder(const std::string& folder, const std::string& pattern) {
  FolderListing listing;
  if (folder.empty()) return listing;
  std::vector<std::string> patterns = splitPatterns(pattern);
  for (std::string& p : patterns) p = asciiLower(p);
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().native();
    if (name.empty() || name.front() == '.') continue;
    // A plain entry's type comes with the listing; a link costs a stat, made only here, in the
    // worker. Its type cannot be told when it dangles or loops: then it is skipped.
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      listing.folders.push_back(name);
      continue;
    }
    const std::string folded = asciiLower(name);
    const bool matches = std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) {
      return fnmatch(p.c_str(), folded.c_str(), 0) == 0;
    });
    if (matches && it->is_regular_file(typeError)) listing.files.push_back(name);
  }
  // Any error while reading the folder itself gives an empty folder.
  if (ec) return {};
  std::sort(listing.folders.begin(), listing.folders.end());
  std::sort(listing.files.begin(), listing.files.end());
  return listing;
}

std::vector<std::string> folderChain(const std::string& folder) {
  // A relative path gives its own chain without a leading "/"; "" gives none.
  const std::string path = normalized(folder);
  std::vector<std::string> chain;
  if (path.empty()) return chain;
  if (path.front() == '/') chain.push_back("/");
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    chain.push_back(path.substr(0, slash));
  if (path != "/") chain.push_back(path);
  return chain;
}

const Place* placeFor(const std::vector<Place>& places, const std::string& folder) {
  const std::string path = normalized(folder);
  const Place* best = nullptr;
  size_t bestLength = 0;
  for (const Place& place : places) {
    if (place.root.empty()) continue;
    const std::string root = normalized(place.root);
    const bool holds = root == "/" ? path.starts_with('/')
                                   : path.starts_with(root) && (path.size() == root.size() || path[root.size()] == '/');
    if (holds && root.size() > bestLength) {
      best = &place;
      bestLength = root.size();
    }
  }
  return best;
}

std::string mediaPath(std::string_view folder, std::string_view fileName) {
  std::string path(folder);
  if (path.empty() || path.back() != '/') path += '/';
  path += fileName;
  return path;
}

}  // namespace kalvori
