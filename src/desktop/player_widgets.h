// The media player's controls on the screen: the drive, folder and file lists, drawn from what the
// file browser finds at the list's Drive or Path, and the transport row of the multimedia control.
// A choice in a list goes to the model; the model's handlers decide what follows.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "desktop/control_widgets.h"
#include "form/control_model.h"
#include "player/file_browser.h"
#include "player/media_device.h"

namespace kalvori::desktop {

// The lists read the disk only while they are shown: the player's lists are hidden at start, so
// starting the program reads no folder and no volume; a list hidden when its folder changes reads
// it when it is shown again.
class DriveList : public QComboBox, public ControlView {
 public:
  DriveList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent);
  void sync(Property p) override;
  // Shows the model's Drive as the selected entry.
  void refresh();
  void showPopup() override;  // volumes come and go: read them anew when the list opens

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void fill();
  bool filled_ = false;
  Form& form_;
  const FileBrowser& files_;
};

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

// Fills a list from a folder listing, so that a huge folder never stops the window: it is read in a
// worker thread and its names reach the list from the event loop, a slice at a time. A folder of
// few entries (nearly every one) is read in place and is in the list when start() returns. A new
// start() drops whatever an earlier one has not shown yet.
class ListFiller {
 public:
  using Lister = std::function<std::vector<std::string>()>;  // runs in the worker
  using Adder = std::function<void(const NameList& names, std::size_t first, std::size_t last)>;

  ListFiller();
  ~ListFiller();  // waits for listings still being read: they use the file browser
  ListFiller(const ListFiller&) = delete;
  ListFiller& operator=(const ListFiller&) = delete;

  // Reads `list()`, in place or in a worker, and hands the names to `add` in order, in slices.
  void start(Lister list, Adder add, bool inPlace);
  // Whether the folder holds so few entries (or none that can be read) that it is read in place.
  static bool fewEntries(const std::string& folder);
  // Whether names of the last start() are still to come.
  bool filling() const { return timer_.isActive(); }

 private:
  struct Listing;  // what one worker reads, shared with it
  void step();
  void reapWorkers(bool all);

  QTimer timer_;
  std::shared_ptr<Listing> current_;  // the listing being read or added
  Adder add_;
  std::size_t next_ = 0;  // the first of its names not yet added
  std::vector<std::pair<std::thread, std::shared_ptr<Listing>>> workers_;
};

// A list of what a folder holds, read only while the list is shown (see DriveList).
class FolderContents : public QListWidget, public ControlView {
 public:
  void sync(Property p) override;
  // Reads the model's Path again, now if the list is shown, else when it is shown next.
  void refresh();
  bool filling() const { return filler_.filling(); }

 protected:
  FolderContents(Form& form, const Control& control, const FileBrowser& files, QWidget* parent);
  void showEvent(QShowEvent* event) override;
  virtual void fill() = 0;

  Form& form_;
  const FileBrowser& files_;
  ListFiller filler_;

 private:
  bool stale_ = true;
};

// The chain of folders down to the model's Path, then its subfolders one step further in.
class FolderList : public FolderContents {
 public:
  FolderList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent);

 private:
  void fill() override;
};

// The media files of the model's Path.
class FileList : public FolderContents {
 public:
  FileList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent);
  void sync(Property p) override;
  // The model's FileName as the selected entry.
  void refreshSelection();

 private:
  void fill() override;
  void choose(QListWidgetItem* item);
};

// Play, pause and stop, each a third of the control's width, enabled by what the device is doing.
// They act on the device directly: they are the control's own buttons, not the program's.
class TransportWidget : public QWidget, public ControlView {
 public:
  TransportWidget(const Control& control, MediaDevice* device, QWidget* parent);
  void sync(Property) override {}
  ~TransportWidget() override;
  QToolButton* button(int i) const { return buttons_[static_cast<std::size_t>(i)]; }

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  void showState(MediaDevice::State state);
  MediaDevice* device_;
  std::array<QToolButton*, 3> buttons_{};
};

}  // namespace kalvori::desktop
