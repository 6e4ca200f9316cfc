// The whole window, built from its design data with every handler bound, ready for Load.
#pragma once

#include <memory>
#include <string>

#include "player/file_browser.h"
#include "player/media_device.h"
#include "form/control_model.h"

namespace kalvori {

// The player's lists start in `startFolder`; its commands go to `device` (none: nothing plays).
// `files` must outlive the form.
std::unique_ptr<Form> createMainWindow(MediaDevice* device, const FileBrowser& files, const std::string& startFolder);
// The same with no media device, the plain file browser and the current folder.
std::unique_ptr<Form> createMainWindow();
// Binds every handler of the window to `form`. Each control a handler writes is looked up here,
// once: a name that the design lacks throws std::logic_error naming it, before any click.
void bindHandlers(Form& form, MediaDevice* device, const FileBrowser& files, const std::string& startFolder);

// The folder the program was started in, or "/" when it cannot be told.
std::string startingFolder();

}  // namespace kalvori
