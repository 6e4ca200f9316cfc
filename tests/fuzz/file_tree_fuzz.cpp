// Fuzz target: the file browser over any small tree of folders, files, links and pipes with any
// names. The input describes the tree, built afresh under a temporary folder: each entry is a
// folder, a file, a named pipe or a symbolic link (to an entry, to ".", "..", itself, or to any
// name, so links that dangle or loop), named with any bytes but '/' and NUL, in any folder made so
// far; folders can also lose their permissions. The first byte picks the media pattern of the
// file list or a pattern of any bytes.
//
// Then every entry of the tree is browsed as a folder (written plainly, with a trailing slash and
// with a doubled one), and the rules checked: nothing throws, crashes or hangs; lists are sorted
// and hold no dot-names; subfolders() lists exactly the entries that lead to folders, files()
// exactly the regular files (links followed) that match, and each listed file is reached by the
// path mediaPath() makes (where the folder lets anything be reached); folderChain() and
// placeFor() describe the folder; places() lists "/" first and each root once.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "player/file_browser.h"

#include "support/folder_probe.h"

namespace kalvori::fuzz {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

constexpr const char* kMediaPattern = "*.wav;*.mid;*.avi;*.mpg;*.mp3";
constexpr std::size_t kMaxEntries = 48;
constexpr mode_t kFolderModes[] = {0755, 0, 0100, 0400};  // all, nothing, search only, read only

// Where the trees grow: one folder for the process, a fresh tree inside it for each input.
struct Base {
  std::string path;
  Base() {
    // Names are matched as in the program, which runs in the desktop's locale: mostly UTF-8, where
    // bytes that are not UTF-8 are the hard case.
    std::setlocale(LC_ALL, "C.UTF-8");
    path = (fs::temp_directory_path() / "kalvori-fuzz-tree-XXXXXX").string();
    if (!mkdtemp(path.data())) fail("mkdtemp");
  }
  ~Base() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};
const std::string& base() {
  static const Base made;
  return made.path;
}

struct Tree {
  std::string root;
  Names folders;  // real folders, the root first
  Names entries;  // everything made, the root included

  ~Tree() {
    // Permissions back first, so that everything can be removed.
    for (const std::string& f : folders) chmod(f.c_str(), 0755);
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

// A name of any bytes a folder can hold; empty when the input gives none.
std::string entryName(Input& in) {
  std::string name;
  for (char c : in.bytes(24))
    if (c != '/' && c != '\0') name += c;
  return name == "." || name == ".." ? std::string() : name;
}

// What each step of the input makes (a byte picks one), in a folder the next byte picks.
enum Step { kFolder, kFile, kLink, kPipe, kPermissions, kSteps };
// Where a link points: an entry by its whole path or by its name, ".", "..", the link itself, or
// a name from the input. Never further out than the tree's own folder: what lies outside changes
// while the fuzzer runs, and a listing that changes between two calls is no fault.
enum Target { kPath, kName, kHere, kUp, kItself, kAnyName, kTargets };

void grow(Tree& tree, Input& in) {
  while (!in.done() && tree.entries.size() < kMaxEntries) {
    const std::size_t step = in.pick(kSteps);
    const std::string& parent = tree.folders[in.pick(tree.folders.size())];
    if (step == kPermissions) {
      chmod(parent.c_str(), kFolderModes[in.pick(std::size(kFolderModes))]);
      continue;
    }
    const std::string name = entryName(in);
    if (name.empty()) continue;
    const std::string path = parent + "/" + name;
    bool made = false;
    switch (step) {
      case kFolder:
        made = mkdir(path.c_str(), 0755) == 0;
        if (made) tree.folders.push_back(path);
        break;
      case kFile: {
        // Only a new file: opening an existing pipe to write would wait for a reader.
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        made = fd >= 0 && write(fd, name.data(), name.size()) >= 0;
        if (fd >= 0) close(fd);
        break;
      }
      case kLink: {
        std::string target;
        switch (in.pick(kTargets)) {
          case kPath: target = tree.entries[in.pick(tree.entries.size())]; break;
          case kName: target = fs::path(tree.entries[in.pick(tree.entries.size())]).filename().native(); break;
          case kHere: target = "."; break;
          case kUp: target = ".."; break;
          case kItself: target = name; break;  // a loop of one
          default: target = entryName(in);  // one name: nothing that dangles or loops leads out
        }
        made = !target.empty() && symlink(target.c_str(), path.c_str()) == 0;
        break;
      }
      default: made = mkfifo(path.c_str(), 0644) == 0; break;  // a pipe
    }
    if (made) tree.entries.push_back(path);
  }
}

// What a folder holds, read plainly: its visible entries, each with what it leads to. The folder
// tells what a plain entry is; a link, or an entry of unknown type, is followed. (In a folder that
// can be read but not searched, only the folder can tell.)
struct Listing {
  Names folders, regularFiles;
};
Listing readPlainly(const std::string& folder) {
  Listing out;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return out;
  while (const dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name.front() == '.') continue;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN || type == DT_LNK) {
      struct stat s {};
      if (stat((folder + "/" + name).c_str(), &s) != 0) continue;
      type = S_ISDIR(s.st_mode) ? DT_DIR : S_ISREG(s.st_mode) ? DT_REG : DT_UNKNOWN;
    }
    if (type == DT_DIR) out.folders.push_back(name);
    if (type == DT_REG) out.regularFiles.push_back(name);
  }
  closedir(dir);
  std::sort(out.folders.begin(), out.folders.end());
  std::sort(out.regularFiles.begin(), out.regularFiles.end());
  return out;
}

bool isMediaName(const std::string& name) {
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return false;
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == "wav" || ext == "mid" || ext == "avi" || ext == "mpg" || ext == "mp3";
}

// Whether some ';'-separated piece of the pattern, blanks around it dropped, matches the name.
bool matchesSomePiece(const std::string& pattern, const std::string& name) {
  std::size_t start = 0;
  while (start <= pattern.size()) {
    std::size_t stop = pattern.find(';', start);
    if (stop == std::string::npos) stop = pattern.size();
    std::string piece = pattern.substr(start, stop - start);
    piece.erase(0, piece.find_first_not_of(" \t"));
    piece.erase(piece.find_last_not_of(" \t") + 1);
    if (!piece.empty() && fnmatch(piece.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
    start = stop + 1;
  }
  return false;
}

std::string shown(const Names& names) {
  std::string out = "{";
  for (const std::string& n : names) out += " \"" + escaped(n) + "\"";
  return out + " }";
}

void checkList(const Names& names, const std::string& what) {
  check(std::adjacent_find(names.begin(), names.end(), std::greater_equal<>()) == names.end(),
        what + ": not sorted, or an entry twice");
  for (const std::string& n : names) check(!n.empty() && n.front() != '.', what + ": lists " + escaped(n));
}

// The folder written one way: slashes single, none at the end but for "/" itself.
std::string collapsed(const std::string& path) {
  std::string out;
  for (char c : path)
    if (c != '/' || !out.ends_with('/')) out += c;
  if (out.size() > 1 && out.ends_with('/')) out.pop_back();
  return out;
}

bool isPrefixFolder(const std::string& root, const std::string& path) {
  if (root == "/") return path.starts_with('/');
  return path.starts_with(root) && (path.size() == root.size() || path[root.size()] == '/');
}

void browse(const FileBrowser& browser, const std::vector<Place>& places, const std::string& folder,
            const std::string& pattern) {
  const std::string where = escaped(folder);
  const Names folders = testing::subfolders(folder);
  const Names files = testing::files(folder, pattern);
  checkList(folders, "subfolders of " + where);
  checkList(files, "files of " + where);
  const Names foldersSlash = testing::subfolders(folder + "/"), filesSlash = testing::files(folder + "/", pattern);
  check(foldersSlash == folders, "subfolders of " + where + "/: " + shown(foldersSlash) + " against " + shown(folders));
  check(filesSlash == files, "files of " + where + "/: " + shown(filesSlash) + " against " + shown(files));
  if (!testing::canRead(folder)) check(folders.empty() && files.empty(), where + " cannot be read but lists entries");

  const Listing plain = readPlainly(folder);
  check(folders == plain.folders, "subfolders of " + where + ": " + shown(folders) + " instead of " + shown(plain.folders));
  Names media;
  for (const std::string& n : plain.regularFiles)
    if (pattern == kMediaPattern ? isMediaName(n) : matchesSomePiece(pattern, n)) media.push_back(n);
  check(files == media, "files of " + where + ": " + shown(files) + " instead of " + shown(media));
  for (const std::string& n : files) {
    const std::string path = mediaPath(folder, n);
    check(path == folder + (folder.ends_with('/') ? "" : "/") + n, "mediaPath of " + where + " and " + escaped(n));
    struct stat s {};
    const bool reachable = access(folder.c_str(), X_OK) == 0;  // its entries can be opened at all
    check(!reachable || (stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode)), escaped(path) + " leads elsewhere");
  }

  // The chain steps down one name at a time from "/" to the folder.
  const std::string path = collapsed(folder);
  const Names chain = folderChain(folder);
  check(!chain.empty() && chain.front() == "/" && chain.back() == path, "chain of " + where);
  for (std::size_t i = 1; i < chain.size(); ++i) {
    const std::size_t slash = chain[i].find_last_of('/');
    check(chain[i - 1] == (slash == 0 ? "/" : chain[i].substr(0, slash)), "chain of " + where + " at " + escaped(chain[i]));
  }

  const Place* place = placeFor(places, folder);
  check(place != nullptr && isPrefixFolder(place->root, path), "place for " + where);
}

}  // namespace
}  // namespace kalvori::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvori;
  using namespace kalvori::fuzz;
  Input in(data, size);
  std::string pattern = kMediaPattern;
  if (in.byte() & 0x80) {
    pattern.clear();
    for (char c : in.bytes(24))
      if (c != '\0') pattern += c;
  }

  Tree tree;
  tree.root = base() + "/tree";
  if (mkdir(tree.root.c_str(), 0755) != 0) fail("cannot make " + tree.root);
  tree.folders.push_back(tree.root);
  tree.entries.push_back(tree.root);
  grow(tree, in);

  // Every folder of the tree is a mounted volume labelled with its name, one of them a disc too.
  const FileBrowser browser(
      [&tree] {
        std::vector<Volume> volumes;
        for (const std::string& f : tree.folders) volumes.push_back({f, fs::path(f).filename().native(), true});
        return volumes;
      },
      [&tree] { return std::vector<OpticalDrive>{{"/dev/sr0", tree.folders.back()}, {"/dev/sr1", ""}}; });
  const std::vector<Place> places = browser.places();
  check(!places.empty() && places.front().root == "/", "places do not start at /");
  std::set<std::string> roots;
  for (const Place& p : places) check(p.root.empty() || roots.insert(p.root).second, "place twice: " + escaped(p.root));

  for (const std::string& entry : tree.entries) {
    browse(browser, places, entry, pattern);
    browse(browser, places, tree.root + "/" + entry.substr(tree.root.size()), pattern);  // a doubled slash
  }
  return 0;
}
