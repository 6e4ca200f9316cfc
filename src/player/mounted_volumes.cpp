#include "player/mounted_volumes.h"

#include <algorithm>
#include <cctype>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace kalvori {
namespace {

namespace fs = std::filesystem;

bool under(const std::string& path, std::string_view folder) {
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

bool removableOrNetwork(const std::string& root, std::string_view type) {
  static constexpr std::array<std::string_view, 9> kNetworkTypes{
      "nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p", "davfs"};
  return under(root, "/media") || under(root, "/run/media") || under(root, "/mnt") ||
         std::find(kNetworkTypes.begin(), kNetworkTypes.end(), type) != kNetworkTypes.end();
}

// A device named by a link in /dev (/dev/cdrom, a by-label or by-id link) as the node it leads to.
// Only names under /dev are resolved: a mount's source can be any text, even a path on a mount
// that hangs, and /dev never does.
std::string deviceNode(const std::string& device) {
  if (!device.starts_with("/dev/")) return device;
  std::error_code ec;
  const fs::path node = fs::weakly_canonical(device, ec);
  return ec ? device : node.native();
}

// The labels of the devices that have one, by device node: the names of /dev/disk/by-label, where
// udev writes a blank as "\x20".
DeviceLabels deviceLabels() {
  DeviceLabels labels;
  std::error_code ec;
  for (fs::directory_iterator it("/dev/disk/by-label", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().native();
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() && std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
          std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
        label += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
        i += 3;
      } else {
        label += name[i];
      }
    }
    labels[deviceNode(it->path().native())] = label;
  }
  return labels;
}

// The kernel writes a blank, tab, newline or backslash in a mount table field as \ and three octal
// digits.
std::string unescaped(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](std::size_t at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
    if (field[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      out += static_cast<char>(std::stoi(std::string(field.substr(i + 1, 3)), nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

// Each entry of the mount table: where, what device, what type.
struct Mount {
  std::string root, device, type;
};
std::vector<Mount> mountsIn(std::string_view text) {
  std::vector<Mount> mounts;
  std::istringstream table{std::string(text)};
  for (std::string line; std::getline(table, line);) {
    // ID PARENT MAJOR:MINOR ROOT MOUNTPOINT OPTIONS [OPTIONAL...] - TYPE SOURCE SUPEROPTIONS
    std::istringstream fields(line);
    std::string skip, mountPoint, word, type, source;
    fields >> skip >> skip >> skip >> skip >> mountPoint;
    while (fields >> word && word != "-") {
    }
    // The kernel writes every mount point from the root; anything else is not a line of its.
    if (word == "-" && fields >> type >> source && mountPoint.starts_with('/'))
      mounts.push_back({unescaped(mountPoint), unescaped(source), unescaped(type)});
  }
  return mounts;
}

// The kernel's table, read without a call on any of the file systems.
std::string systemMountTable() {
  std::ifstream file("/proc/self/mountinfo");
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

std::string mountPointOf(const std::string& path) { return mountPointIn(systemMountTable(), path); }

std::string mountPointIn(std::string_view mountTable, const std::string& path) {
  std::string best = "/";
  for (const Mount& m : mountsIn(mountTable)) {
    const std::string root = m.root.size() > 1 && m.root.back() == '/' ? m.root.substr(0, m.root.size() - 1) : m.root;
    if (root.size() > best.size() && under(path, root)) best = root;
  }
  return best;
}

std::vector<Volume> mountedVolumes() { return volumesIn(systemMountTable(), deviceLabels()); }

std::vector<Volume> volumesIn(std::string_view mountTable, const DeviceLabels& labels) {
  std::vector<Volume> volumes;
  for (const Mount& m : mountsIn(mountTable)) {
    Volume v;
    v.root = m.root;
    const auto label = labels.find(deviceNode(m.device));
    v.label = label != labels.end() ? label->second : !m.device.empty() ? m.device : m.type;
    v.removableOrNetwork = removableOrNetwork(v.root, m.type);
    volumes.push_back(std::move(v));
  }
  return volumes;
}

std::vector<OpticalDrive> opticalDrives() {
  std::vector<std::string> devices;
  std::error_code ec;
  fs::directory_iterator it("/dev", ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().native();
    std::error_code typeError;
    if (name.size() < 3 || !name.starts_with("sr") || name[2] < '0' || name[2] > '9' ||
        !it->is_block_file(typeError))
      continue;
    devices.push_back(it->path().native());
  }
  if (devices.empty()) return {};
  return opticalDrivesIn(std::move(devices), systemMountTable());
}

std::vector<OpticalDrive> opticalDrivesIn(std::vector<std::string> devices, std::string_view mountTable) {
  std::vector<OpticalDrive> drives;
  for (std::string& device : devices) drives.push_back({std::move(device), {}});
  // sr2 before sr10: the shorter name first, then by bytes.
  std::sort(drives.begin(), drives.end(), [](const OpticalDrive& a, const OpticalDrive& b) {
    return std::pair(a.device.size(), a.device) < std::pair(b.device.size(), b.device);
  });

  // A disc may be mounted through another name of its drive (/dev/cdrom, a by-id link).
  for (const Mount& m : mountsIn(mountTable)) {
    const std::string node = deviceNode(m.device);
    for (OpticalDrive& d : drives)
      if (d.mountPoint.empty() && node == d.device) d.mountPoint = m.root;
  }
  return drives;
}

}  // namespace kalvori
