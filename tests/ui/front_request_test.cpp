// A second copy's request brings the running copy's window to the front, from the taskbar too.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "ui/front_request.h"

namespace ui {
namespace {

TEST(FrontRequestTest, EachRequestBringsTheMinimisedOrCoveredWindowToTheFront) {
  QTemporaryDir folder;
  const QString request = FrontRequestPath(folder.filePath("verdalon.lock"));
  {
    // A request left by an earlier run is not taken for a new one.
    QFile stale(request);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("4242\n");
  }
  ClearFrontRequests(request);
  QWidget window;
  window.resize(200, 100);
  window.show();
  FrontRequestWatcher watcher(window, request);
  QWidget other;
  other.resize(100, 100);

  for (const bool minimised : {true, false, true}) {
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    if (minimised) window.showMinimized();
    QTest::qWait(50);
    ASSERT_FALSE(window.isActiveWindow());

    RequestFront(request);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, 5000))
        << (minimised ? "minimised" : "covered");
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
  }
}

}  // namespace
}  // namespace ui
