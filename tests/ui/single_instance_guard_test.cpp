// Only one copy runs: checked with the real program, started twice.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

#include "program_environment.h"
#include "ui/front_request.h"
#include "ui/single_instance_guard.h"
#ifdef _WIN32
#include "ui/session_mutex.h"
#endif

namespace ui {
namespace {

using Outcome = SingleInstanceGuard::Outcome;

TEST(SingleInstanceGuardTest, SecondGuardOnTheSameLockSeesAnotherCopy) {
  QTemporaryDir folder;
  const QString lock = folder.filePath("verdalon.lock");
  SingleInstanceGuard first(lock);
  ASSERT_EQ(first.TryAcquire(), Outcome::Acquired);
  // From another thread, as a Windows mutex lets its owning thread take it again.
  Outcome second_outcome = Outcome::Acquired;
  std::thread([&] {
    SingleInstanceGuard second(lock);
    second_outcome = second.TryAcquire();
  }).join();
  EXPECT_EQ(second_outcome, Outcome::AnotherCopyRuns);
}

// None of these is another copy: the lock simply cannot be made there.
TEST(SingleInstanceGuardTest, ALockThatCannotBeMadeIsNotAnotherCopy) {
#ifdef _WIN32
  GTEST_SKIP() << "on Windows the lock is a session mutex: no file is made in the folder";
#endif
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir("verdalon.lock"));  // a folder in the file's place
  SingleInstanceGuard blocked(folder.filePath("verdalon.lock"));
  EXPECT_EQ(blocked.TryAcquire(), Outcome::CannotLock);
  EXPECT_EQ(blocked.LockFolder(), QDir::toNativeSeparators(folder.path()));

  SingleInstanceGuard missing(folder.filePath("gone/verdalon.lock"));
  EXPECT_EQ(missing.TryAcquire(), Outcome::CannotLock);

  QFile file(folder.filePath("plain"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  SingleInstanceGuard under_a_file(folder.filePath("plain/verdalon.lock"));
  EXPECT_EQ(under_a_file.TryAcquire(), Outcome::CannotLock);
  EXPECT_EQ(under_a_file.LockFolder(), QDir::toNativeSeparators(folder.filePath("plain")));
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(runtime_.isValid()); }

  // Every copy gets the same private runtime folder, so the test's lock meets no other.
  std::unique_ptr<QProcess> Start() { return Start(runtime_.path()); }

  static std::unique_ptr<QProcess> Start(const QString& runtime_folder) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(ProgramEnvironment(runtime_folder));
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
  // The first copy empties the request file right after taking the lock.
  const QString request_path = FrontRequestPath(QDir(runtime_.path()).filePath("verdalon.lock"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(request_path); }, 20000));

  std::unique_ptr<QProcess> second = Start();
  const qint64 second_id = second->processId();
  ASSERT_TRUE(second->waitForFinished(20000));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_TRUE(QString::fromUtf8(second->readAllStandardError()).contains("程序已经运行"));
  // It asked the first copy, which watches its request file, to show its window.
  QFile request(request_path);
  ASSERT_TRUE(request.open(QIODevice::ReadOnly));
  EXPECT_EQ(request.readAll().trimmed(), QByteArray::number(second_id));

  EXPECT_EQ(first->state(), QProcess::Running);
  EXPECT_FALSE(first->waitForFinished(300));
  Stop(*first);
}

TEST_F(SingleInstanceTest, ALockThatCannotBeMadeIsToldNamingTheFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "on Windows the lock is a session mutex: no file is made in the folder";
#endif
  ASSERT_TRUE(QDir(runtime_.path()).mkdir("verdalon.lock"));
  std::unique_ptr<QProcess> blocked = Start();
  ASSERT_TRUE(blocked->waitForFinished(20000));
  EXPECT_EQ(blocked->exitStatus(), QProcess::NormalExit);
  EXPECT_NE(blocked->exitCode(), 0);
  const QString said = QString::fromUtf8(blocked->readAllStandardError());
  EXPECT_FALSE(said.contains("程序已经运行")) << said.toStdString();
  EXPECT_TRUE(said.contains("无法在文件夹“" + runtime_.path() + "”中建立锁文件"))
      << said.toStdString();
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
