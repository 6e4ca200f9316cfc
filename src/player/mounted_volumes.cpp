#include "player/mounted_volumes.h"

#include <QFile>
#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace kalvori {
namespace {

namespace fs = std::filesystem;

// Paths as bytes, the way the file system names them (Qt holds them as decoded text).
std::string bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool under(const std::string& path, std::string_view folder) {
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

bool removableOrNetwork(const std::string& root, const QByteArray& type) {
  static constexpr std::array<std::string_view, 9> kNetworkTypes{
      "nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p", "davfs"};
  const std::string_view t(type.constData(), static_cast<size_t>(type.size()));
  return under(root, "/media") || under(root, "/run/media") || under(root, "/mnt") ||
         std::find(kNetworkTypes.begin(), kNetworkTypes.end(), t) != kNetworkTypes.end();
}

}  // namespace

std::vector<Volume> mountedVolumes() {
  std::vector<Volume> volumes;
  for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
    if (!info.isValid() || !info.isReady()) continue;
    Volume v;
    v.root = bytes(info.rootPath());
    v.label = info.name().isEmpty() ? info.device().toStdString() : info.name().toStdString();
    v.removableOrNetwork = removableOrNetwork(v.root, info.fileSystemType());
    volumes.push_back(std::move(v));
  }
  return volumes;
}

std::vector<OpticalDrive> opticalDrives() {
  std::vector<OpticalDrive> drives;
  std::error_code ec;
  fs::directory_iterator it("/dev", ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().native();
    std::error_code typeError;
    if (name.size() < 3 || !name.starts_with("sr") || name[2] < '0' || name[2] > '9' ||
        !it->is_block_file(typeError))
      continue;
    drives.push_back({it->path().native(), {}});
  }
  // sr2 before sr10: the shorter name first, then by bytes.
  std::sort(drives.begin(), drives.end(), [](const OpticalDrive& a, const OpticalDrive& b) {
    return std::pair(a.device.size(), a.device) < std::pair(b.device.size(), b.device);
  });
  if (drives.empty()) return drives;

  // A disc may be mounted through another name of its drive (/dev/cdrom, a by-id link), so the
  // mounted devices are compared after resolving links.
  for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
    if (!info.isValid() || !info.device().startsWith('/')) continue;
    std::error_code linkError;
    const fs::path device = fs::weakly_canonical(info.device().toStdString(), linkError);
    if (linkError) continue;
    for (OpticalDrive& d : drives)
      if (d.mountPoint.empty() && device == d.device) d.mountPoint = bytes(info.rootPath());
  }
  return drives;
}

}  // namespace kalvori
