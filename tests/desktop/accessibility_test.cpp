// What a screen reader hears, read through Qt's accessibility interfaces: names that follow the
// captions as the modes relabel the window, the colour of each swatch, the value in each box, and
// which mode is selected.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <optional>

#include "desktop/form_widget.h"
#include "window/main_window.h"

namespace kalvori::desktop {
namespace {

struct Heard {
  const char* control;
  QAccessible::Role role;
  const char* name;
  const char* value = nullptr;        // not checked when null
  const char* description = nullptr;  // not checked when null
  std::optional<bool> checked = {};
};

struct Step {
  std::vector<const char*> clicks;
  std::vector<Heard> heard;
};

TEST(ScreenReader, HearsNamesValuesColoursAndTheSelectedMode) {
  QAccessible::setActive(true);
  auto form = createMainWindow();
  FormWidget view(*form);
  form->load();
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

  using R = QAccessible::Role;
  const Step steps[] = {
      {{},
       {{"a0", R::Button, "黑      0"},
        {"r5", R::RadioButton, "五环色标标识的电阻阻值", nullptr, nullptr, true},
        {"r4", R::RadioButton, "四环色标标识的电阻阻值", nullptr, nullptr, false},
        {"k1", R::EditableText, "数值第1格", ""},
        {"kk1", R::EditableText, "五环电阻第1环颜色", nullptr, ""},
        {"t1", R::StaticText, "五环电阻第1环"},
        {"Frame1", R::Grouping, "请您选择:"},
        {"Line1", R::Separator, ""}}},
      // Brown, black, black, red, brown: each swatch is described by the colour written above it.
      {{"a1", "b0", "c0", "d2", "e0"},
       {{"k1", R::EditableText, "数值第1格", "1"},
        {"k4", R::EditableText, "数值第4格：倍率和单位", "00Ω"},
        {"k5", R::EditableText, "误差率", "误差率＋－1％"},
        {"kk1", R::EditableText, "五环电阻第1环颜色", nullptr, "棕"},
        {"kk2", R::EditableText, "五环电阻第2环颜色", nullptr, "黑"},
        {"kk4", R::EditableText, "五环电阻第4环颜色", nullptr, "红"},
        {"t6", R::StaticText, "棕"}}},
      // The four-band layout renames the headings, and with them the swatches, and forgets the colours.
      {{"r4"},
       {{"r4", R::RadioButton, "四环色标标识的电阻阻值", nullptr, nullptr, true},
        {"r5", R::RadioButton, "五环色标标识的电阻阻值", nullptr, nullptr, false},
        {"kk2", R::EditableText, "4环电阻第1环颜色", nullptr, ""},
        {"b04", R::Button, "黑      0"}}},
      {{"b4"}, {{"kk2", R::EditableText, "4环电阻第1环颜色", nullptr, "黄"}}},
      // The printed-code modes relabel the columns as bare digits.
      {{"c"}, {{"b4", R::Button, "4"}, {"dc3", R::Button, "3"}, {"t2", R::StaticText, "第一位"}}},
      {{"mp3"},
       {{"File1", R::List, "媒体文件"},
        {"Dir1", R::List, "文件夹"},
        {"zov", R::Grouping, "多媒体播放器"}}},
  };
  for (const Step& step : steps) {
    for (const char* c : step.clicks) form->click(c);
    QApplication::processEvents();
    for (const Heard& h : step.heard) {
      SCOPED_TRACE(h.control);
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(view.widgetFor(h.control));
      ASSERT_NE(a, nullptr);
      EXPECT_EQ(a->role(), h.role);
      EXPECT_EQ(a->text(QAccessible::Name).trimmed(), QString::fromUtf8(h.name).trimmed());
      if (h.value) {
        EXPECT_EQ(a->text(QAccessible::Value), QString::fromUtf8(h.value));
      }
      if (h.description) {
        EXPECT_EQ(a->text(QAccessible::Description), QString::fromUtf8(h.description));
      }
      if (h.checked) {
        EXPECT_EQ(a->state().checked, *h.checked);
      }
    }
  }
  // The transport row's own buttons.
  QStringList transport;
  QAccessibleInterface* row = QAccessible::queryAccessibleInterface(view.widgetFor("MMControl1"));
  EXPECT_EQ(row->text(QAccessible::Name), QString::fromUtf8("播放控制"));
  for (int i = 0; i < row->childCount(); ++i) transport << row->child(i)->text(QAccessible::Name);
  EXPECT_EQ(transport, (QStringList{"播放", "暂停", "停止"}));
}

}  // namespace
}  // namespace kalvori::desktop
