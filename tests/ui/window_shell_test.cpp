// The window shell: fixed size, drag by the bare margin, the buttons, the date and the hooks.
#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <cstdlib>

#include "tally/tally_sheet.h"
#include "ui/button_pictures.h"
#include "ui/date_caption.h"
#include "ui/message_box.h"
#include "window_fixture.h"

namespace ui::testing {
namespace {

class WindowShellTest : public WindowTest {};

TEST_F(WindowShellTest, SizeStaysFixedWhateverTriesToChangeIt) {
  form().resize(900, 700);
  Settle();
  EXPECT_EQ(form().size(), QSize(688, 504));
  form().setGeometry(10, 10, 300, 200);
  Settle();
  EXPECT_EQ(form().size(), QSize(688, 504));

  QTest::mouseClick(Control("Command6"), Qt::LeftButton);
  Settle();
  EXPECT_TRUE(form().isMinimized());
  form().showNormal();
  Settle();
  EXPECT_FALSE(form().isMinimized());
  EXPECT_EQ(form().size(), QSize(688, 504));
}

TEST_F(WindowShellTest, DragByTheBareMarginOnly) {
  const QPoint start = form().pos();
  QTest::mousePress(&form(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 200));
  QTest::mouseMove(&form(), QPoint(25, 230));
  QTest::mouseRelease(&form(), Qt::LeftButton, Qt::NoModifier, QPoint(25, 230));
  Settle();
  EXPECT_EQ(form().pos(), start + QPoint(20, 30));

  // Presses on Frame1 or a label inside it stay there.
  const QPoint moved = form().pos();
  for (const char* name : {"Frame1", "Label6", "Label2"}) {
    QWidget* target = Control(name);
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseMove(target, QPoint(40, 40));
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    Settle();
    EXPECT_EQ(form().pos(), moved) << name;
  }
}

TEST_F(WindowShellTest, DateLabel) {
  EXPECT_EQ(DateCaption(QDate(2024, 11, 14)), "2024年11月14日 ");
  EXPECT_EQ(DateCaption(QDate(2024, 3, 5)), "2024年03月05日 ");
  EXPECT_EQ(DateCaption(QDate(987, 1, 1)), "0987年01月01日 ");

  QDate today(2024, 12, 31);
  form().SetClock([&] { return today; });
  form().OnTimer2Tick();
  EXPECT_EQ(form().DateCaptionText(), u"2024年12月31日 ");

  // Across midnight the running clock timer shows the new date on its next tick.
  form().Timer2().start();
  EXPECT_EQ(form().Timer2().interval(), 100);
  today = QDate(2025, 1, 1);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return form().DateCaptionText() == u"2025年01月01日 "; }, 1000));
}

// Without the fixture, which stops them: both timers run from the window's creation, the
// recalculation every 300 ms and the date every 100 ms, with nothing else starting them.
TEST(WindowTimersTest, BothTimersRunFromTheWindowsCreation) {
  Form1 form;
  EXPECT_EQ(form.DateCaptionText(), u"Label2");  // until the first tick
  EXPECT_TRUE(form.Timer1().isActive());
  EXPECT_EQ(form.Timer1().interval(), 300);
  EXPECT_TRUE(form.Timer2().isActive());
  EXPECT_EQ(form.Timer2().interval(), 100);

  const char16_t* line[] = {u"4", u"200", u"50", u"1", u"10", u"800"};
  for (int k = 0; k < 6; ++k) form.sheet().SetText(tally::kTypedColumns[k], 0, line[k]);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return form.sheet().Text(tally::SingleField::Text11) == u"320.00"; }, 3000));
  EXPECT_EQ(form.sheet().Text(tally::TallyColumn::Volume, 0), u"0.4000");

  const QDate today = QDate::currentDate();
  const QString expected =
      QString::asprintf("%04d年%02d月%02d日 ", today.year(), today.month(), today.day());
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return form.DateCaptionText() == expected.toStdU16String(); }, 1000));
}

// Every message: the caption Verdalon, no icon and a single OK button.
TEST(MessageBoxTest, CaptionVerdalonNoIconOneOkButton) {
  QString title;
  QMessageBox::Icon icon = QMessageBox::Information;
  QMessageBox::StandardButtons buttons;
  qsizetype button_count = 0;
  QString text;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      title = box->windowTitle();
      icon = box->icon();
      buttons = box->standardButtons();
      button_count = box->buttons().size();
      text = testing::MessageText(*box);
      box->accept();
    }
  });
  poll.start(5);
  ShowMessage(nullptr, QStringLiteral("程序已经运行"));
  EXPECT_EQ(title, "Verdalon");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(buttons, QMessageBox::Ok);
  EXPECT_EQ(button_count, 1);
  EXPECT_EQ(text, "程序已经运行");
}

// Run in a child process: once the application has been told to exit, every event loop
// it starts returns at once, which would leave no working message box for later tests.
TEST(WindowShellDeathTest, ExitButtonEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        Form1 form;
        form.show();
        QTimer::singleShot(0, &form, [&] {
          QTest::mouseClick(form.findChild<QWidget*>("Command5"), Qt::LeftButton);
        });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
        // _Exit: the window is still alive here, and a leak check at exit would only see it.
        std::_Exit(QApplication::exec());
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(WindowShellTest, ExportButtonRunsTheInstalledHandler) {
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);  // no handler yet: nothing happens
  int exports = 0;
  form().SetExportHandler([&] { ++exports; });
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  EXPECT_EQ(exports, 1);
}

// Records the address the web button hands to the desktop instead of starting a browser.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls << url; }
};

TEST_F(WindowShellTest, WebButtonOpensTheProgramsPage) {
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler("https", &recorder, "Open");
  QTest::mouseClick(Control("Command2"), Qt::LeftButton);
  QDesktopServices::unsetUrlHandler("https");
  ASSERT_EQ(recorder.urls.size(), 1);
  EXPECT_EQ(recorder.urls.front(), QUrl("https://verdalon.example.com/"));
}

// A handler whose slot does not exist: the desktop then reports that it could not open the page.
class BrokenBrowser : public QObject {
  Q_OBJECT
};

TEST_F(WindowShellTest, AWebPageThatCannotOpenIsToldAndTheTallyStays) {
  form().sheet().SetText(tally::TallyColumn::Length, 0, u"4");
  form().sheet().SetText(tally::SingleField::Text9, u"李四");
  Focus(Cell("Text2", 3));
  Type("117");

  MessageAnswerer answerer;
  BrokenBrowser browser;
  QDesktopServices::setUrlHandler("https", &browser, "NoSuchSlot");
  QTest::mouseClick(Control("Command2"), Qt::LeftButton);
  QDesktopServices::unsetUrlHandler("https");
  Settle();

  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0],
            "无法打开网页 https://verdalon.example.com/ ：桌面上没有能打开网页的浏览器。");
  EXPECT_TRUE(form().isVisible());
  EXPECT_EQ(Edit("Text1_0")->text(), "4");
  EXPECT_EQ(Edit("Text2_3")->text(), "117");
  EXPECT_EQ(Edit("Text9")->text(), "李四");
}

TEST_F(WindowShellTest, HooksForTheStartUpLoad) {
  form().Combo1()->setEditText("  既有文字");
  form().SetBuyerList({u"乙公司", u"甲公司", u"丙木业"});
  EXPECT_EQ(form().BuyerText(), u"  既有文字");
  ASSERT_EQ(form().Combo1()->count(), 3);
  EXPECT_EQ(form().Combo1()->itemText(0), "乙公司");  // kept in the workbook's order
  EXPECT_EQ(form().Combo1()->itemText(2), "丙木业");
  form().Combo1()->setCurrentIndex(1);
  EXPECT_EQ(form().BuyerText(), u"甲公司");

  form().SetSellerCaption(u"绿源木材加工厂");
  EXPECT_EQ(form().SellerCaption(), u"绿源木材加工厂");
  EXPECT_EQ(qobject_cast<QLabel*>(Control("Label4"))->text(), "绿源木材加工厂");
}

double MeanLightness(const QImage& image, int top, int bottom) {
  double sum = 0;
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 10; x < image.width() - 10; ++x) {
      const QColor colour = image.pixelColor(x, y);
      if (colour.alpha() < 255 || colour == Qt::white) continue;
      sum += colour.lightnessF();
      ++count;
    }
  }
  return sum / count;
}

// The left and right ends of the white lettering.
std::pair<int, int> WordExtent(const QImage& image) {
  int left = image.width();
  int right = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == Qt::white) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  return {left, right};
}

int WhitePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == Qt::white;
  }
  return count;
}

// Each button shows its own words: its lettering is that of the picture with those words.
TEST_F(WindowShellTest, EachPictureButtonShowsItsOwnWords) {
  const struct {
    const char* button;
    const char16_t* words;
    WordSpacing spacing;
  } buttons[] = {
      {"Command1", u"清除数据", WordSpacing::Together},
      {"Command4", u"导出表格", WordSpacing::Together},
      {"Command6", u"最小化", WordSpacing::Spread},
      {"Command5", u"退出", WordSpacing::Spread},
      {"Command7", u"账本", WordSpacing::Spread},
  };
  for (const auto& b : buttons) {
    // Inside the raised border, whose light edge is white too.
    QWidget* button = Control(b.button);
    const QImage shown = button->grab(button->rect().adjusted(2, 2, -2, -2)).toImage();
    const QImage picture = ButtonPicture(QString::fromUtf16(b.words), b.spacing, false).toImage();
    EXPECT_EQ(WhitePixels(shown), WhitePixels(picture)) << b.button;
    EXPECT_EQ(WordExtent(shown).second - WordExtent(shown).first,
              WordExtent(picture).second - WordExtent(picture).first)
        << b.button;
  }
}

TEST_F(WindowShellTest, PicturesAndIcon) {
  const QImage clear = ButtonPicture("清除数据", WordSpacing::Together, false).toImage();
  EXPECT_EQ(clear.size(), QSize(81, 33));
  EXPECT_EQ(clear.pixelColor(0, 0).alpha(), 0);  // the button's own colour shows at the corners
  EXPECT_GT(MeanLightness(clear, 3, 14), MeanLightness(clear, 19, 30));  // glossy upper part
  const QColor middle = clear.pixelColor(3, 22);
  EXPECT_GT(middle.blue(), middle.red());  // navy
  EXPECT_LT(middle.lightnessF(), 0.4);
  const QImage pressed = ButtonPicture("清除数据", WordSpacing::Together, true).toImage();
  EXPECT_GT(pressed.pixelColor(3, 22).lightnessF(), middle.lightnessF());

  const auto [quit_left, quit_right] =
      WordExtent(ButtonPicture("退出", WordSpacing::Spread, false).toImage());
  const auto [clear_left, clear_right] = WordExtent(clear);
  EXPECT_GT(quit_right - quit_left, 55);  // two characters far apart
  EXPECT_GT(clear_right - clear_left, 45);
  EXPECT_LT(quit_left, clear_left + 5);

  const QIcon icon = MonitorIcon();
  EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {256, 256}}));
  const QImage big = icon.pixmap(48, 48).toImage();
  const QColor screen = big.pixelColor(20, 15);
  EXPECT_GT(screen.blue(), 150);
  EXPECT_GT(screen.blue(), screen.red() + 50);
}

// The window carries the monitor itself: without the application's icon to fall back on, it
// still shows the same picture.
TEST(WindowIconTest, TheWindowHasTheMonitorIconOfItsOwn) {
  const QIcon application_icon = QApplication::windowIcon();
  QApplication::setWindowIcon(QIcon());
  Form1 form;
  const QImage shown = form.windowIcon().pixmap(32, 32).toImage();
  QApplication::setWindowIcon(application_icon);
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32),
            MonitorIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32));
}

// verdalon.exe carries src/ui/verdalon.ico; it must be the picture the window shows, in the
// four sizes, as written by tools/make_icon (the largest as PNG, which Qt's reader reads too).
TEST(WindowIconTest, TheProgramFilesIconIsTheWindowsPicture) {
  QImageReader reader(QStringLiteral(VERDALON_ICON_FILE));
  ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
  QList<int> sides;
  do {
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull());
    sides << image.width();
    EXPECT_EQ(image,
              MonitorIcon().pixmap(image.size()).toImage().convertToFormat(QImage::Format_ARGB32))
        << image.width() << " px";
  } while (reader.jumpToNextImage());
  EXPECT_EQ(sides, (QList<int>{16, 32, 48, 256}));
}

}  // namespace
}  // namespace ui::testing

#include "window_shell_test.moc"
