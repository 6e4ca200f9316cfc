#include "storm_rules.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <utility>

#include "marking/band_colour.h"
#include "player/file_browser.h"

namespace kalvori::testing {

namespace {

// What the handlers write beyond the colour table, as the window shows it.
const char* const kWrittenCaptions[] = {
    // column headers of the modes
    "5环电阻第1环", "5环电阻第2环", "5环电阻第3环", "5环电阻第4环", "5环电阻第5环",
    "4环电阻第1环", "4环电阻第2环", "4环电阻第3环", "4环电阻第4环",
    "4环电感第1环", "4环电感第2环", "4环电感第3环", "4环电感第4环",
    "   第一位", "   第二位", "   第三位",
    // printed code digits and relabelled buttons
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
};
const char* const kWrittenTexts[] = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    // capacitor and inductor multipliers
    "0 pF", "00 pF", " nF", "0 nF", "00 nF", " uF", "0 uF", "×0.01 pF", "×0.1 pF",
    "uH", "0 uH", "00 uH", " mH", "0 mH", "00 mH", " H", "0 H", "×0.1 uH", "×0.01 uH",
};
const OleColor kWrittenColours[] = {0x00FFFFFF};  // a swatch cleared by a mode
const char* const kMessages[] = {
    "这是一个试用版本，在只会一点分支语句的艰苦条件下，历经十好几个小时完成的。高手见笑了!",
    "感谢qorvi的电子爱好者网站以及电子爱好者网站里的众位高手对我的无私帮助！我还想再编一些有助于大家提高效率的更实用"
    "的程序，比如一些电路的基本参数的计算，希望大家能够喜欢。再次感谢大家！",
    "主要支持的文件格式：*.mp3； *.avi； *.mpga； *.mpg； *.wav； *.mid。         另外：这是一个后台程序，比如播放mp3"
    "音乐时，点击返回按钮，音乐不会停止，可以和前台程序一同运行，不会占用您过多的系统资源。",
    "老大，有没有搞错？前两环不可能都是黑色！！！",
    "请插入光盘",
};

const char* const kPlayerControls[] = {"MMControl1", "f1", "Drive1", "Dir1", "File1"};

std::string quoted(const std::string& s) { return "\"" + s + "\""; }
std::string hex(OleColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(c));
  return buf;
}

volatile unsigned stormSeed = 0;
volatile int stormClick = 0;

void tellStormPosition() {
  std::fprintf(stderr, "storm stopped at seed %u, click %d (replay: KALVORI_STORM_SEED=%u)\n", stormSeed, stormClick,
               stormSeed);
}

void tellAndAbort(int signal) {
  tellStormPosition();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

}  // namespace kalvori::testing

// Present only in a sanitizer build.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace kalvori::testing {

void markStormPosition(unsigned seed, int click) {
  static const bool watching = [] {
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(tellStormPosition);
    std::signal(SIGABRT, tellAndAbort);
    return true;
  }();
  (void)watching;
  stormSeed = seed;
  stormClick = click;
}

FixedValues::FixedValues(const Form& start) {
  for (const Control& c : start.controls()) {
    captions.insert(c.caption);
    texts.insert(c.text);
    colours.insert(c.backColor);
  }
  for (const BandColour& b : kBandColours) {
    captions.insert(std::string(b.name));
    captions.insert(std::string(b.caption));
    colours.insert(b.swatch);
    if (b.suffix) texts.insert(std::string(*b.suffix));
    if (b.tolerance) texts.insert(std::string(*b.tolerance));
  }
  captions.insert(std::begin(kWrittenCaptions), std::end(kWrittenCaptions));
  texts.insert(std::begin(kWrittenTexts), std::end(kWrittenTexts));
  colours.insert(std::begin(kWrittenColours), std::end(kWrittenColours));
  messages.insert(std::begin(kMessages), std::end(kMessages));
}

const char* viewName(View v) {
  switch (v) {
    case View::Converter: return "converter";
    case View::Player: return "player";
    case View::Reference: return "reference panel";
  }
  return "?";
}

std::optional<View> viewAfter(std::string_view name) {
  if (name == "mp3" || name == "fanhui2") return View::Player;
  if (name == "f1" || name == "fanhui1") return View::Converter;
  if (name == "texing" || name == "xilie") return View::Reference;
  return std::nullopt;
}

std::vector<std::string> deviceCommandsFor(const Form& form, std::string_view control) {
  if (control == "ttt") return {"stop"};
  if (control != "kkk" && control != "File1") return {};
  const std::string file = mediaPath(form.control("Dir1").path, form.control("File1").fileName);
  std::vector<std::string> told = {"close", "file:" + file, "open", "play"};
  if (control == "kkk") told.push_back("play");
  return told;
}

std::string windowedFlags(const Form& form) {
  std::string flags;
  for (const Control& c : form.controls())
    if (isWindowed(c.kind)) flags += c.visible ? '1' : '0';
  return flags;
}

StormRules::StormRules(Form& form, const FixedValues& fixed)
    : form_(form),
      fixed_(fixed),
      zov_(form.control("zov")),
      f2_(form.control("F2")),
      dd1_(form.control("dd1")),
      dd2_(form.control("dd2")),
      dir1_(form.control("Dir1")),
      file1_(form.control("File1")),
      drive1_(form.control("Drive1")) {
  for (const Control& c : form.controls())
    if (c.kind == Kind::OptionButton) options_.push_back(&c);
  for (const char* name : kPlayerControls) player_.push_back(&form.control(name));
  form.addPropertyHook([this](const Control& c, Property p) {
    if (p == Property::Visible && isWindowed(c.kind)) ++reachEpoch_;
    if (written_.empty()) written_ = valueFault(c, p);
  });
}

std::string StormRules::valueFault(const Control& c, Property p) const {
  switch (p) {
    case Property::Caption:
      if (fixed_.captions.count(c.caption)) return "";
      return c.name + ".Caption = " + quoted(c.caption) + " is not a fixed value";
    case Property::Text:
      if (fixed_.texts.count(c.text)) return "";
      return c.name + ".Text = " + quoted(c.text) + " is not a fixed value";
    case Property::BackColor:
      if (fixed_.colours.count(c.backColor)) return "";
      return c.name + ".BackColor = " + hex(c.backColor) + " is not a fixed colour";
    default: return "";
  }
}

// Each view by what the user sees of it: the frames' flags, and the buttons that lead out of it
// reachable while those of the other views are not.
bool StormRules::looksLike(View v) const {
  const bool zov = zov_.visible, f2 = f2_.visible;
  auto reach = [&](const char* name) { return form_.isReachable(name); };
  switch (v) {
    case View::Converter:
      return !zov && reach("mp3") && reach("kkk") && reach("texing") && reach("r5") && !reach("f1") &&
             !reach("fanhui1");
    case View::Player:
      for (const Control* c : player_)
        if (!c->visible) return false;
      return zov && !f2 && reach("f1") && reach("xilie") && reach("File1") && !reach("mp3") && !reach("kkk") &&
             !reach("fanhui1");
    case View::Reference:
      return zov && f2 && reach("fanhui1") && reach("fanhui2") && !reach("f1") && !reach("mp3") && !reach("kkk");
  }
  return false;
}

std::string StormRules::afterClick(std::string_view clicked, const std::vector<std::string>* places) {
  if (const auto next = viewAfter(clicked)) expected_ = *next;
  if (!written_.empty()) return std::exchange(written_, "");
  int selected = 0;
  for (const Control* o : options_) selected += o->value;
  if (selected != 1) return std::to_string(selected) + " mode options selected";
  if (dd1_.visible && dd2_.visible) return "both commas dd1 and dd2 shown";
  if (file1_.path != dir1_.path) return "File1 and Dir1 show different folders";
  if (places && !drive1_.drive.empty() && std::find(places->begin(), places->end(), drive1_.drive) == places->end())
    return "the drive list shows something that is no place";
  // The views are told apart by what can be reached: unless that or the expected view changed,
  // the answer is the one found last time.
  if (viewCheckedAt_ == reachEpoch_ && !viewAfter(clicked)) return "";
  viewCheckedAt_ = reachEpoch_;
  auto [known, isNew] = viewsByFlags_.try_emplace(windowedFlags(form_));
  std::string& seen = known->second;
  if (isNew)
    for (View v : {View::Converter, View::Player, View::Reference})
      if (looksLike(v)) seen += std::string(seen.empty() ? "" : ", ") + viewName(v);
  if (seen != viewName(expected_))
    return std::string("expected the ") + viewName(expected_) + ", the window shows " + (seen.empty() ? "no view" : seen);
  return "";
}

std::string StormRules::sweep() const {
  for (const Control& c : form_.controls())
    for (Property p : {Property::Caption, Property::Text, Property::BackColor})
      if (std::string fault = valueFault(c, p); !fault.empty()) return fault;
  return "";
}

std::string StormRules::checkMessage(const std::string& text) const {
  return fixed_.messages.count(text) ? "" : "message " + quoted(text) + " is not a fixed text";
}

}  // namespace kalvori::testing
