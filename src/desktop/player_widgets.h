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
#include <utility>
#include <vector>

#include "desktop/control_widgets.h"
#include "form/control_model.h"
#include "player/file_browser.h"
#include "player/folder_reader.h"
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

// Fills a list from a reading (folder_reader.h), so that a huge folder never stops the window: once
// it has been read, its names reach the list from the event loop, a slice at a time. A new start()
// drops whatever an earlier one has not shown yet.
class ListFiller {
 public:
  using Names = NameList FolderNames::*;
  using Adder = std::function<void(const NameList& names, std::size_t first, std::size_t last)>;

  ListFiller();
  ListFiller(const ListFiller&) = delete;
  ListFiller& operator=(const ListFiller&) = delete;

  // Hands the names `which` of `reading` to `add` in order, in slices, once it is read.
  void start(std::shared_ptr<FolderReader::Request> reading, Names which, Adder add);
  // Whether names of the last start() are still to come.
  bool filling() const { return current_ != nullptr; }

 private:
  void step();

  QTimer timer_;
  // What a reading's waiting call finds the filler by: gone with it, so that a reading that ends
  // after the list has gone touches nothing.
  std::shared_ptr<ListFiller*> self_ = std::make_shared<ListFiller*>(this);
  std::shared_ptr<FolderReader::Request> current_;  // the reading being waited for or added
  Names which_ = nullptr;
  Adder add_;
  std::size_t next_ = 0;  // the first of its names not yet added
};

// A list of what a folder holds, read only while the list is shown (see DriveList).
class FolderContents : public QListWidget, public ControlView {
 public:
  void sync(Property p) override;
  // Reads the model's Path again, now if the list is shown, else when it is shown next.
  void refresh();
  bool filling() const { return filler_.filling(); }

 protected:
  FolderContents(Form& form, const Control& control, FolderReader& reader, QWidget* parent);
  void showEvent(QShowEvent* event) override;
  virtual void fill() = 0;

  Form& form_;
  FolderReader& reader_;
  ListFiller filler_;

 private:
  bool stale_ = true;
};

// The chain of folders down to the model's Path, then its subfolders one step further in.
class FolderList : public FolderContents {
 public:
  FolderList(Form& form, const Control& control, FolderReader& reader, QWidget* parent);

 private:
  void fill() override;
};

// The media files of the model's Path. A click chooses one, and so does Enter (held down, once); a
// double-click chooses it once.
class FileList : public FolderContents {
 public:
  FileList(Form& form, const Control& control, FolderReader& reader, QWidget* parent);
  void sync(Property p) override;
  // The model's FileName as the selected entry.
  void refreshSelection();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

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
  // The icons are set when the row is first shown: the player view is hidden at start, and looking
  // them up loads the desktop's icon theme.
  void showEvent(QShowEvent*) override;

 private:
  void showState(MediaDevice::State state);
  MediaDevice* device_;
  std::array<QToolButton*, 3> buttons_{};
  bool iconsSet_ = false;
};

}  // namespace kalvori::desktop
