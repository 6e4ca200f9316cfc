#include "window/main_window.h"

#include <filesystem>

#include "converter/band_buttons.h"
#include "converter/mode_layout.h"
#include "converter/modes.h"
#include "converter/multiplier_buttons.h"
#include "player/player_handlers.h"
#include "window/main_window_design.h"
#include "window/views.h"

namespace kalvori {

void bindHandlers(Form& form, MediaDevice* device, const FileBrowser& files, const std::string& startFolder) {
  checkModes(form);
  bindBandButtons(form);
  bindMultiplierButtons(form);
  bindModeButtons(form);
  bindViews(form);
  bindPlayer(form, device, files, startFolder);
}

std::unique_ptr<Form> createMainWindow(MediaDevice* device, const FileBrowser& files, const std::string& startFolder) {
  auto form = std::make_unique<Form>(mainWindowFrame(), mainWindowControls());
  bindHandlers(*form, device, files, startFolder);
  return form;
}

std::unique_ptr<Form> createMainWindow() {
  return createMainWindow(nullptr, plainFileBrowser(), startingFolder());
}

std::string startingFolder() {
  std::error_code error;
  const std::filesystem::path here = std::filesystem::current_path(error);
  return error || here.empty() ? std::string("/") : here.string();
}

}  // namespace kalvori
