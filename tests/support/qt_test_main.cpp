// Runs Qt-level tests offscreen, with the application prepared as the program prepares it.
#include <gtest/gtest.h>

#include <QApplication>

#include "desktop/desktop_setup.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kalvori::desktop::prepareApplication(app);
  return RUN_ALL_TESTS();
}
