// The media player's controls on the screen: the drive, folder and file lists, drawn from what the
// file browser finds at the list's Drive or Path, and the transport row of the multimedia control.
// A choice in a list goes to the model; the model's handlers decide what follows.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QToolButton>
#include <array>

#include "player/file_browser.h"
#include "player/media_device.h"
#include "window/control_model.h"

namespace kalvori::desktop {

class DriveList : public QComboBox {
 public:
  DriveList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent);
  // Shows the model's Drive as the selected entry.
  void refresh();
  void showPopup() override;  // volumes come and go: read them anew when the list opens

 private:
  void fill();
  Form& form_;
  const Control& control_;
  const FileBrowser& files_;
};

class FolderList : public QListWidget {
 public:
  FolderList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent);
  // The chain of folders down to the model's Path, then its subfolders one step further in.
  void refresh();

 private:
  Form& form_;
  const Control& control_;
  const FileBrowser& files_;
};

class FileList : public QListWidget {
 public:
  FileList(Form& form, const Control& control, const FileBrowser& files, QWidget* parent);
  // The media files of the model's Path.
  void refresh();
  // The model's FileName as the selected entry.
  void refreshSelection();

 private:
  void choose(QListWidgetItem* item);
  Form& form_;
  const Control& control_;
  const FileBrowser& files_;
};

// Play, pause and stop, each a third of the control's width, enabled by what the device is doing.
// They act on the device directly: they are the control's own buttons, not the program's.
class TransportWidget : public QWidget {
 public:
  TransportWidget(MediaDevice* device, QWidget* parent);
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
