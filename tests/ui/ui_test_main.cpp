#include <gtest/gtest.h>

#include <QtGlobal>

#include "ui/verdalon_application.h"

#include "offscreen_fonts.h"

// The program's own application object, so a failure escaping a handler takes the same path
// as in the program. Headless unless the caller chose a platform.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  test_support::UseInstalledFontsOffscreen();
  ::testing::InitGoogleTest(&argc, argv);
  ui::VerdalonApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
