#include "window/views.h"

#include <string_view>

namespace kalvori {

namespace {

// The player's controls that leaving the player hides and entering it shows again.
constexpr std::string_view kPlayerControls[] = {"MMControl1", "f1", "Drive1", "Dir1", "File1"};

void showPlayer(Form& f) {
  f.setVisible("zov", true);
  for (std::string_view c : kPlayerControls) f.setVisible(c, true);
  f.setVisible("F2", false);
}

// Messages shown word for word, blanks included.
const char* const kAbout = "这是一个试用版本，在只会一点分支语句的艰苦条件下，历经十好几个小时完成的。高手见笑了!";
const char* const kThanks =
    "感谢qorvi的电子爱好者网站以及电子爱好者网站里的众位高手对我的无私帮助！我还想再编一些有助于大家提高效率的更实用"
    "的程序，比如一些电路的基本参数的计算，希望大家能够喜欢。再次感谢大家！";
const char* const kFormats =
    "主要支持的文件格式：*.mp3； *.avi； *.mpga； *.mpg； *.wav； *.mid。         另外：这是一个后台程序，比如播放mp3"
    "音乐时，点击返回按钮，音乐不会停止，可以和前台程序一同运行，不会占用您过多的系统资源。";

}  // namespace

void bindViews(Form& form) {
  // The device type only; nothing is opened and no media service is started for it.
  form.onLoad([](Form& f) { f.setDeviceType("MMControl1", "MPEGVideo"); });

  form.on("mp3", Event::Click, showPlayer);
  form.on("fanhui2", Event::Click, showPlayer);
  // Leaving the player hides its controls but leaves F2's flag, and whatever plays, as it is.
  form.on("f1", Event::Click, [](Form& f) {
    for (std::string_view c : kPlayerControls) f.setVisible(c, false);
    f.setVisible("zov", false);
  });
  form.on("fanhui1", Event::Click, [](Form& f) {
    f.setVisible("F2", false);
    f.setVisible("zov", false);
  });
  form.on("texing", Event::Click, [](Form& f) {
    f.setVisible("zov", true);
    f.setVisible("F2", true);
  });
  form.on("xilie", Event::Click, [](Form& f) { f.setVisible("F2", true); });

  form.on("W1", Event::Click, [](Form& f) { f.showMessage(kAbout); });
  form.on("w3", Event::Click, [](Form& f) { f.showMessage(kThanks); });
  form.on("xxx", Event::Click, [](Form& f) { f.showMessage(kFormats); });
}

}  // namespace kalvori
