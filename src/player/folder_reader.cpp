#include "player/folder_reader.h"

#include <utility>

#include "player/file_browser.h"
#include "player/mounted_volumes.h"

namespace kalvori {

namespace {

// Two folders of one mount may hang at once and a third mount still be read; three dead shares
// take six threads, and no more are ever started.
constexpr BackgroundWorker<std::shared_ptr<const FolderNames>>::Limits kReadingThreads{2, 8};

}  // namespace

NameList::NameList(const std::vector<std::string>& names) {
  std::size_t total = 0;
  for (const std::string& n : names) total += n.size();
  bytes_.reserve(total);
  ends_.reserve(names.size());
  for (const std::string& n : names) ends_.push_back((bytes_ += n).size());
}

std::string_view NameList::operator[](std::size_t i) const {
  const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
  return std::string_view(bytes_).substr(begin, ends_[i] - begin);
}

FolderReader::FolderReader(std::shared_ptr<Handoff> handoff, std::string pattern, MountOf mountOf)
    : worker_(std::make_shared<Worker>(
          "folder reading", kReadingThreads, std::move(handoff),
          [pattern = std::move(pattern)](const std::string& folder) -> std::shared_ptr<const FolderNames> {
            const FolderListing listing = readFolder(folder, pattern);
            return std::make_shared<const FolderNames>(FolderNames{NameList(listing.folders), NameList(listing.files)});
          },
          std::make_shared<const FolderNames>(), mountOf ? std::move(mountOf) : MountOf(mountPointOf))) {}

std::shared_ptr<FolderReader::Request> FolderReader::read(const std::string& folder) {
  if (latest_ && !latest_->done && latest_->folder == folder) return latest_;
  auto reading = std::make_shared<Request>();
  reading->folder = folder;
  latest_ = reading;
  worker_->ask(folder, [reading](const std::shared_ptr<const FolderNames>& names) {
    reading->names = names;
    reading->done = true;
    for (const auto& then : std::exchange(reading->waiting, {})) then();
  });
  return reading;
}

}  // namespace kalvori
