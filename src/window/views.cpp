#include "window/views.h"

#include <string_view>
#include <vector>

namespace kalvori {

namespace {

// The player's controls that leaving the player hides and entering it shows again.
constexpr std::string_view kPlayerControls[] = {"MMControl1", "f1", "Drive1", "Dir1", "File1"};


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
  const ControlId zov = form.id("zov"), f2 = form.id("F2"), media = form.id("MMControl1");
  std::vector<ControlId> player;
  for (std::string_view c : kPlayerControls) player.push_back(form.id(c));

  // The device type only; nothing is opened and no media service is started for it.
  form.onLoad([media](Form& f) { f.setDeviceType(media, "MPEGVideo"); });

  const auto showPlayer = [zov, f2, player](Form& f) {
    f.setVisible(zov, true);
    for (ControlId c : player) f.setVisible(c, true);
    f.setVisible(f2, false);
  };
  form.on(form.id("mp3"), Event::Click, showPlayer);
  form.on(form.id("fanhui2"), Event::Click, showPlayer);
  // Leaving the player hides its controls but leaves F2's flag, and whatever plays, as it is.
  form.on(form.id("f1"), Event::Click, [zov, player](Form& f) {
    for (ControlId c : player) f.setVisible(c, false);
    f.setVisible(zov, false);
  });
  form.on(form.id("fanhui1"), Event::Click, [zov, f2](Form& f) {
    f.setVisible(f2, false);
    f.setVisible(zov, false);
  });
  form.on(form.id("texing"), Event::Click, [zov, f2](Form& f) {
    f.setVisible(zov, true);
    f.setVisible(f2, true);
  });
  form.on(form.id("xilie"), Event::Click, [f2](Form& f) { f.setVisible(f2, true); });

  form.on(form.id("W1"), Event::Click, [](Form& f) { f.showMessage(kAbout); });
  form.on(form.id("w3"), Event::Click, [](Form& f) { f.showMessage(kThanks); });
  form.on(form.id("xxx"), Event::Click, [](Form& f) { f.showMessage(kFormats); });
}

}  // namespace kalvori
