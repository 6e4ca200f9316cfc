// A test that starts with the whole window built from its design data, loaded and shown offscreen.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "desktop/form_widget.h"
#include "window/main_window.h"

namespace kalvori::testing {

class OpenWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    view = std::make_unique<desktop::FormWidget>(*form);
    form->load();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  }
  QWidget* w(const char* name) { return view->widgetFor(name); }

  std::unique_ptr<Form> form = createMainWindow();
  std::unique_ptr<desktop::FormWidget> view;
};

}  // namespace kalvori::testing
