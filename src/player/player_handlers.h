// The media player's handlers: the drive, folder and file lists, the "播" and "停" buttons of the
// converter, and the multimedia control MMControl1, whose DeviceType, FileName and Command are
// carried out on a media device as they are written. Whether a chosen drive can be read is asked
// of the file browser off the UI thread; the handler acts on the answer when it comes.
#pragma once

#include <string>

#include "player/file_browser.h"
#include "player/media_device.h"
#include "form/control_model.h"

namespace kalvori {

// Fills the lists with `startFolder` (no file chosen) and binds the handlers. Without a device the
// commands go nowhere and nothing plays. `files` must outlive the form.
void bindPlayer(Form& form, MediaDevice* device, const FileBrowser& files, const std::string& startFolder);

}  // namespace kalvori
