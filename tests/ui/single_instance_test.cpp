// Only one copy runs: checked with the real program, started twice.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

#include "program_environment.h"
#include "single_instance_guard.h"

namespace ui {
namespace {

TEST(SingleInstanceGuardTest, SecondGuardOnTheSameLockFails) {
  QTemporaryDir folder;
  const QString lock = folder.filePath("verdalon.lock");
  SingleInstanceGuard first(lock);
  ASSERT_TRUE(first.TryAcquire());
  // From another thread, as a Windows mutex lets its owning thread take it again.
  bool second_acquired = true;
  std::thread([&] {
    SingleInstanceGuard second(lock);
    second_acquired = second.TryAcquire();
  }).join();
  EXPECT_FALSE(second_acquired);
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(runtime_.isValid()); }

  // Every copy gets the same private runtime folder, so the test's lock meets no other.
  std::unique_ptr<QProcess> Start() {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(ProgramEnvironment(runtime_.path()));
    process->start(VERDALON_EXECUTABLE, {});
    EXPECT_TRUE(process->waitForStarted(10000));
    return process;
  }

  bool WaitForLock() {
    const QString lock = QDir(runtime_.path()).filePath("verdalon.lock");
#ifdef _WIN32
    return QTest::qWaitFor([&] { return SessionMutex::IsHeld(lock); }, 20000);
#else
    // Written, not just created: a lock file killed empty names no owner to find dead.
    return QTest::qWaitFor([&] { return QFileInfo(lock).size() > 0; }, 20000);
#endif
  }

  static void Stop(QProcess& process) {
    process.kill();
    process.waitForFinished(10000);
  }

  QTemporaryDir runtime_;
};

TEST_F(SingleInstanceTest, SecondCopyReportsAndEndsFirstRunsOn) {
  std::unique_ptr<QProcess> first = Start();
  ASSERT_TRUE(WaitForLock());

  std::unique_ptr<QProcess> second = Start();
  ASSERT_TRUE(second->waitForFinished(20000));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_TRUE(QString::fromUtf8(second->readAllStandardError()).contains("程序已经运行"));

  EXPECT_EQ(first->state(), QProcess::Running);
  EXPECT_FALSE(first->waitForFinished(300));
  Stop(*first);
}

TEST_F(SingleInstanceTest, CrashedCopyDoesNotBlockTheNextStart) {
  std::unique_ptr<QProcess> crashed = Start();
  ASSERT_TRUE(WaitForLock());
  Stop(*crashed);  // killed: its lock file stays behind (on Windows its mutex is abandoned)

  std::unique_ptr<QProcess> next = Start();
  EXPECT_FALSE(next->waitForFinished(1500));
  EXPECT_EQ(next->state(), QProcess::Running);
  EXPECT_FALSE(QString::fromUtf8(next->readAllStandardError()).contains("程序已经运行"));
  Stop(*next);
}

}  // namespace
}  // namespace ui
