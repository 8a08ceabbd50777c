// Renders the main window with a sample tally into a PNG, for the README and for checking
// the layout by eye:
//
//     window_screenshot [--buyer-list | --reminder | --missing-workbook | --second-copy |
//                        --book | --book-by-buyer] [output.png]
//
// --buyer-list shows the buyer drop-down open, --reminder the box the first export shows;
// --book the book's window over a month of sample bills, --book-by-buyer its summary per buyer;
// --missing-workbook and --second-copy the box alone that a start without its workbook and
// a second copy show (their window never shows).
// Run it with QT_SCALE_FACTOR=1.5 to see the window on a 150 % screen.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "billbook/bill_book.h"
#include "ui/book_window.h"
#include "ui/failure_report.h"
#include "ui/form1.h"
#include "ui/form_export_source.h"
#include "ui/message_box.h"
#include "ui/single_instance_guard.h"
#include "ui/verdalon_application.h"
#include "ui/workbook_binding.h"
#include "workbook/bill_recording.h"
#include "workbook/embedded_application.h"
#include "xls/xls_document.h"

namespace {

using tally::TallyColumn;

struct SampleLine {
  const char16_t* texts[6];  // length, width, thickness, bundles, pieces per bundle, unit price
};

constexpr SampleLine kSample[] = {
    {{u"4", u"200", u"50", u"1", u"10", u"1850"}},
    {{u"4", u"117.25", u"50", u"3", u"12", u"1850"}},
    {{u"6", u"150", u"30", u"2", u"20", u"2100"}},
    {{u"2.5", u"100", u"25", u"4", u"15", u"1600"}},
};

// Enough buyers that the list scrolls.
constexpr const char16_t* kBuyers[] = {
    u"东风木业有限公司", u"张三木业",         u"李记建材",   u"华南木材市场",
    u"永兴家具厂",       u"鑫源装饰工程公司", u"王家木器行", u"青松板材加工厂",
    u"北方林产品公司",   u"恒达建筑工程队",   u"刘氏木门厂", u"金林地板有限公司",
    u"顺发包装材料厂",   u"宏远木结构公司",
};

void TypeSample(ui::Form1& form) {
  for (int row = 0; row < static_cast<int>(std::size(kSample)); ++row) {
    for (int k = 0; k < 6; ++k) {
      form.sheet().SetText(tally::kTypedColumns[k], row, kSample[row].texts[k]);
    }
  }
  form.sheet().SetText(tally::SingleField::Text9, u"王师傅");
  form.SetBuyerList(std::vector<std::u16string>(std::begin(kBuyers), std::end(kBuyers)));
  form.Combo1()->setEditText(QStringLiteral("东风木业有限公司"));
  form.SetSellerCaption(u"绿源木材加工厂");
}

// The window with another top-level window (the open list, a message box) drawn over it where
// the screen shows it. Drawn at the screen's pixel ratio, so a scaled screen is shown as is.
QPixmap WithWindowOnTop(QWidget& form, QWidget& top) {
  const QPixmap window = form.grab();
  QPixmap picture(window.size());
  picture.setDevicePixelRatio(window.devicePixelRatio());
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.drawPixmap(0, 0, window);
  painter.drawPixmap(top.mapToGlobal(QPoint()) - form.mapToGlobal(QPoint()), top.grab());
  return picture;
}

bool Save(const QPixmap& picture, const QString& output) {
  if (picture.save(output)) return true;
  std::fprintf(stderr, "cannot write %s\n", output.toLocal8Bit().constData());
  return false;
}

// Shows a message as the program does and saves a picture of the box alone.
int SaveMessageBox(const QString& text, const QString& output) {
  bool saved = false;
  QTimer::singleShot(100, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      saved = Save(box->grab(), output);
      box->accept();
    }
  });
  ui::ShowMessage(nullptr, text);
  return saved ? 0 : 1;
}

// The message of a start whose folder holds no workbook, taken from the program's own load.
QString MissingWorkbookMessage() {
  ui::Form1 form;
  workbook::EmbeddedApplicationFactory engine([](const xls::XlsDocument&) {});
  ui::WorkbookBinding binding(
      form, engine, std::filesystem::path(u8"/home/zhangsan/桌面/2024年锯材销售/收银台 Verdalon"));
  try {
    binding.LoadReferenceData();
  } catch (const std::exception&) {
    return ui::FailureMessage(ui::DescribeFailure(std::current_exception()));
  }
  return {};
}

// The first days of December as a clerk would have recorded them: each bill typed into a
// window and computed by it, a few of them corrected, one voided.
void FillSampleBook(const std::filesystem::path& book_file) {
  ui::Form1 form;
  form.SetSellerCaption(u"绿源木材加工厂");
  billbook::BillBook book(book_file);
  for (int day = 1; day <= 8; ++day) {
    for (int bill = 0; bill < 5 + day % 3; ++bill) {
      form.sheet().ClearEntries();
      const int lines = 1 + (day + bill) % 4;
      for (int row = 0; row < lines; ++row) {
        const SampleLine& line = kSample[static_cast<std::size_t>(row + bill) % std::size(kSample)];
        for (int k = 0; k < 6; ++k)
          form.sheet().SetText(tally::kTypedColumns[k], row, line.texts[k]);
      }
      form.sheet().SetText(tally::SingleField::Text9, bill % 2 == 0 ? u"王师傅" : u"李师傅");
      form.Combo1()->setEditText(QString::fromUtf16(
          kBuyers[static_cast<std::size_t>(day * 5 + bill * 3) % std::size(kBuyers)]));
      for (int pass = 0; pass < 3; ++pass) form.OnTimer1Tick();
      billbook::Recorder recorder;
      recorder.time = {2026, 12, day, 8 + bill, 5 * bill, 0};
      recorder.pc_name = "KAIPIAO-1";
      recorder.user = "zhangsan";
      const ui::FormExportSource source(form);
      const billbook::Recorded recorded =
          book.Record("", workbook::BillContentOf(source), recorder);
      if (day == 3 && bill == 1) book.Void(recorded.number, "客户退货", recorder);
      if (day == 5 && bill == 2) {
        form.sheet().SetText(tally::SingleField::Text9, u"赵师傅");
        book.Record(recorded.number, workbook::BillContentOf(source), recorder);
      }
    }
  }
}

// The book's window over the sample month, its list or its summary per buyer in front.
int SaveBookWindow(bool by_buyer, const QString& output) {
  QTemporaryDir folder;
  const std::filesystem::path book =
      std::filesystem::path(folder.path().toStdU16String()) / "book.db";
  FillSampleBook(book);
  ui::BookWindow window(book, {}, [] { return QDate(2026, 12, 8); });
  window.findChild<QComboBox*>(QStringLiteral("Period"))->setCurrentIndex(1);  // 本月
  if (by_buyer) {
    auto* views = window.findChild<QTabWidget*>();
    views->setCurrentIndex(1);
  }
  window.show();
  QApplication::processEvents();
  return Save(window.grab(), output) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  ui::VerdalonApplication app(argc, argv);
  QStringList arguments = QApplication::arguments().mid(1);
  const bool buyer_list = arguments.removeAll(QStringLiteral("--buyer-list")) > 0;
  const bool reminder = arguments.removeAll(QStringLiteral("--reminder")) > 0;
  const bool missing_workbook = arguments.removeAll(QStringLiteral("--missing-workbook")) > 0;
  const bool second_copy = arguments.removeAll(QStringLiteral("--second-copy")) > 0;
  const bool book = arguments.removeAll(QStringLiteral("--book")) > 0;
  const bool book_by_buyer = arguments.removeAll(QStringLiteral("--book-by-buyer")) > 0;
  const QString output = arguments.value(0, QStringLiteral("screenshot.png"));
  if (missing_workbook) return SaveMessageBox(MissingWorkbookMessage(), output);
  if (second_copy) return SaveMessageBox(QString::fromUtf16(ui::kAlreadyRunningMessage), output);
  if (book || book_by_buyer) return SaveBookWindow(book_by_buyer, output);

  ui::Form1 form;
  TypeSample(form);
  // Two passes: the first computes the lines, the second brings the total amount along.
  form.OnTimer1Tick();
  form.OnTimer1Tick();
  form.OnTimer2Tick();
  form.Timer1().stop();
  form.Timer2().stop();
  form.ShowCentred();
  QApplication::processEvents();

  if (buyer_list) {
    form.Combo1()->setCurrentIndex(1);
    form.Combo1()->showPopup();
    QApplication::processEvents();
    return Save(WithWindowOnTop(form, *form.Combo1()->view()->window()), output) ? 0 : 1;
  }
  if (reminder) {
    bool saved = false;
    QTimer::singleShot(100, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        saved = Save(WithWindowOnTop(form, *box), output);
        box->accept();
      }
    });
    ui::ShowMessage(&form, QString::fromUtf16(ui::kCloseWorkbookReminder));
    return saved ? 0 : 1;
  }
  return Save(form.grab(), output) ? 0 : 1;
}
