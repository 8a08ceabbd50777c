#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QtGlobal>

#include "offscreen_fonts.h"

// Fonts and PDF writing need a QGuiApplication; no display is needed.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  test_support::UseInstalledFontsOffscreen();
  ::testing::InitGoogleTest(&argc, argv);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
