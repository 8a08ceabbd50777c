// After the export has saved the workbook: the desktop's spreadsheet program gets it where the
// desktop names one for .xls files, Verdalon's own print preview comes up everywhere else,
// and also where the named program cannot be started.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "ui/tally_print_preview.h"
#include "ui/xls_association.h"
#include "workbook/workbook_path.h"
#include "xls/xls_document.h"

namespace ui {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// A small program in the test's own folder, standing in for the desktop's tool of that name.
void Put(const QDir& bin, const QString& name, const QByteArray& script) {
  QFile file(bin.filePath(name));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\n" + script);
  file.close();
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(OpenForPrintingTest, HandsTheWorkbookToTheDesktopsProgramElseShowsThePreview) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const fs::path program_dir(folder.path().toStdU16String());
  fs::copy_file(VERDALON_TEMPLATE, workbook::WorkbookPath(program_dir));
  const QString handed_to = folder.filePath("handed-to");

  const QByteArray path_before = qgetenv("PATH");
  struct Case {
    const char* desktop;
    QByteArray xdg_mime;  // what `xdg-mime query default application/vnd.ms-excel` does
    bool has_opener;      // whether xdg-open, which starts the named program, is there
    bool has_program;     // what DesktopHasXlsProgram says
    bool handed_off;      // the program got the workbook, no preview
  };
  // In this order: the desktop's opener, once found, is remembered for the process.
  const Case cases[] = {
      {"no freedesktop tools", "", false, false, false},
      {"no default for .xls", "exit 4\n", true, false, false},
      {"an answer that is no desktop entry", "echo nothing\n", true, false, false},
      {"a named program that cannot be started", "echo libreoffice-calc.desktop\n", false, true,
       false},
      {"a named program", "echo libreoffice-calc.desktop\n", true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.desktop);
    QTemporaryDir bin_folder;
    const QDir bin(bin_folder.path());
    if (!c.xdg_mime.isEmpty()) Put(bin, "xdg-mime", c.xdg_mime);
    if (c.has_opener) Put(bin, "xdg-open", "printf '%s' \"$1\" > '" + handed_to.toUtf8() + "'\n");
    qputenv("PATH", bin.path().toUtf8());
    QFile::remove(handed_to);

    EXPECT_EQ(DesktopHasXlsProgram(), c.has_program);
    // Qt's offscreen platform hands nothing to the desktop: the hand-off fails there, and the
    // preview must come up instead. ctest runs this test once more on a virtual display.
    const bool handed_off = c.handed_off && QGuiApplication::platformName() != "offscreen";

    QStringList previews;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
        previews << preview->windowTitle();
        preview->reject();
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        ADD_FAILURE() << box->text().toStdString();
        box->accept();
      }
    });
    closer.start(5);
    OpenForPrinting(*xls::XlsDocument::Open(workbook::WorkbookPath(program_dir)));
    closer.stop();
    qputenv("PATH", path_before);

    if (handed_off) {
      EXPECT_TRUE(previews.isEmpty());
      ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(handed_to).size() > 0; }, 10000));
      QFile handed(handed_to);
      ASSERT_TRUE(handed.open(QIODevice::ReadOnly));
      EXPECT_EQ(fs::path(QUrl::fromEncoded(handed.readAll()).toLocalFile().toStdU16String()),
                workbook::WorkbookPath(program_dir));
    } else {
      EXPECT_EQ(previews, QStringList{QStringLiteral("打印预览 - 码单")});
      QTest::qWait(100);
      EXPECT_FALSE(QFile::exists(handed_to));
    }
  }
}

#else

TEST(OpenForPrintingTest, HandsTheWorkbookToTheDesktopsProgramElseShowsThePreview) {
  GTEST_SKIP() << "the .xls association is the Windows registry's; the test's wine prefix "
                  "gives no way to vary it";
}

#endif

}  // namespace
}  // namespace ui
