#pragma once

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "tally/field_id.h"
#include "tally/tally_sheet.h"
#include "ui/graphical_button.h"
#include "ui/qt_field_store.h"
#include "workbook/bill_recording.h"

namespace ui {

class EtchedFrame;
class StartInView;

// The program's one window. Its text boxes hold the tally itself (there is no second copy):
// sheet() reads and writes them, running the change rules, and Timer1 recalculates them.
// Every control keeps its name as objectName ("Text1_0" for row 0 of Text1, "Label1_2").
class Form1 final : public QWidget {
 public:
  using Clock = std::function<QDate()>;

  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  tally::TallySheet& sheet() { return sheet_; }

  // The buyer as typed or picked in Combo1, and its list (filled by the start-up load).
  std::u16string BuyerText() const;
  void SetBuyerList(const std::vector<std::u16string>& buyers);

  // Label4 holds the seller's name; Label2 the date.
  std::u16string SellerCaption() const;
  void SetSellerCaption(std::u16string_view seller);
  std::u16string DateCaptionText() const;

  // The bill the window holds (a new one from start-up and from 清除数据), and its number
  // as LabelBill shows it beside the date: empty for a tally never recorded.
  workbook::CurrentBill& current_bill() { return current_bill_; }
  void ShowBillNumber(const std::string& number);
  // 更正 of a bill from the book: the window holds `content` (its latest revision) as bill
  // `number`, so the next export records a reprint or a revision of that number.
  void LoadBill(const std::string& number, const billbook::BillContent& content);

  // What Command4 runs (the export, installed by WorkbookBinding); without one a click does
  // nothing.
  void SetExportHandler(std::function<void()> handler) { export_handler_ = std::move(handler); }
  // What Command7 (账本) runs.
  void SetBookHandler(std::function<void()> handler) { book_handler_ = std::move(handler); }

  // Where Timer2 reads today's date.
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  // Shows the window centred on its screen with the focus in the first length box.
  void ShowCentred();

  // The controls, for the start-up and export steps and for tests.
  QLineEdit* Box(tally::FieldId field) const { return store_.Box(field); }
  QComboBox* Combo1() const { return combo1_; }
  QTimer& Timer1() { return timer1_; }
  QTimer& Timer2() { return timer2_; }

  // What each timer tick runs.
  void OnTimer1Tick();
  void OnTimer2Tick();

  // Moves the focus on as the Tab key does.
  void MoveFocusToNextStop() { focusNextChild(); }

 protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void CreateGrid();
  void CreateHeadings();
  void CreateBuyerLine();
  void CreateTotalsLine();
  void CreateFooter();
  void CreateButtons();
  void SetTabOrder();
  void InstallKeyboardRules();
  void StartTimers();
  void ApplySystemColours();

  QLabel* AddLabel(const QString& name, const QString& caption, const QRect& geometry);
  QLineEdit* AddBox(const QString& name, const QRect& geometry, int font_pixels);
  GraphicalButton* AddPictureButton(const QString& name, const QString& words, bool spread,
                                    int top_twips);

  QtFieldStore store_;
  StartInView* start_in_view_ = nullptr;
  tally::TallySheet sheet_;
  EtchedFrame* frame1_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* label_bill_ = nullptr;
  workbook::CurrentBill current_bill_;
  std::vector<QWidget*> command_order_;  // Command6, Command5, Command4, Command1, Command7
  GraphicalButton* command2_ = nullptr;
  QTimer timer1_;
  QTimer timer2_;
  Clock clock_;
  std::function<void()> export_handler_;
  std::function<void()> book_handler_;

  // The hand-made drag, used where the window system cannot move the window itself.
  bool dragging_ = false;
  QPoint drag_offset_;
};

}  // namespace ui
