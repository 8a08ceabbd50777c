#include "ui/form1.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "tally/recalculation_pass.h"
#include "ui/button_pictures.h"
#include "ui/buyer_list_rows.h"
#include "ui/column_navigation.h"
#include "ui/date_caption.h"
#include "ui/enter_as_tab.h"
#include "ui/etched_frame.h"
#include "ui/message_box.h"
#include "ui/start_in_view.h"
#include "ui/system_colours.h"
#include "ui/twips.h"
#include "ui/web_page.h"
#include "ui/wheel_ignored_while_closed.h"
#include "ui/window_fonts.h"

namespace ui {
namespace {

using tally::FieldId;
using tally::SingleField;
using tally::TallyColumn;

constexpr int kWindowWidth = 688;
constexpr int kWindowHeight = 504;

struct GridColumn {
  TallyColumn column;
  const char* name;
  int left;       // twips, rows 1 to 12
  int row0_left;  // twips, row 0
  int width;
  int font_pixels;
};

// Width and Bundles stand one pixel further right in row 0 than below.
constexpr GridColumn kGridColumns[] = {
    {TallyColumn::Length, "Text1", 600, 600, 855, kLargeFontPixels},
    {TallyColumn::Width, "Text2", 1425, 1440, 750, kLargeFontPixels},
    {TallyColumn::Thickness, "Text3", 2160, 2160, 855, kLargeFontPixels},
    {TallyColumn::Bundles, "Text4", 2985, 3000, 750, kLargeFontPixels},
    {TallyColumn::PiecesPerBundle, "Text5", 3720, 3720, 855, kLargeFontPixels},
    {TallyColumn::Volume, "Text6", 4560, 4560, 1095, kMediumFontPixels},
    {TallyColumn::UnitPrice, "Text7", 5640, 5640, 855, kLargeFontPixels},
    {TallyColumn::Amount, "Text8", 6480, 6480, 1400, kMediumFontPixels},
};

constexpr int kGridTop = 1200;
constexpr int kRowPitch = 360;
constexpr int kBoxHeight = 375;

QString ArrayName(const char* array, int index) {
  return QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(index);
}

QString Rgb(const QColor& colour) {
  return QStringLiteral("rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

// One sheet for the whole window: 107 boxes parse it once instead of each their own.
QString WindowStyleSheet() {
  const QPalette palette = QGuiApplication::palette();
  return QStringLiteral(
             "QLineEdit[box=\"true\"] { border: 1px solid %1; padding: 0px; margin: 0px;"
             " background: %2; color: %3; }"
             "QLineEdit[grid=\"true\"] { background: %4; }"
             "QLineEdit[amount=\"true\"] { color: %5; }"
             "QComboBox#Combo1 { border: 1px solid %1; background: %4; padding: 0px 0px 0px 2px; }"
             "QLabel { background: transparent; color: %6; }"
             "QLabel#Label2 { color: %7; }")
      .arg(Rgb(palette.color(QPalette::WindowText)), Rgb(WindowBackgroundColour()),
           Rgb(palette.color(QPalette::Text)), Rgb(kGridBoxBackground), Rgb(kAmountText),
           Rgb(palette.color(QPalette::ButtonText)), Rgb(kDateText));
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowSystemMenuHint),
      sheet_(store_),
      clock_([] { return QDate::currentDate(); }) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Verdalon"));
  setWindowIcon(MonitorIcon());
  setFont(SongFont(kDefaultFontPixels));
  setFixedSize(kWindowWidth, kWindowHeight);

  start_in_view_ = new StartInView(this);
  frame1_ = new EtchedFrame(QStringLiteral("Verdalon"), this);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  frame1_->setGeometry(TwipsRect(210, 158, 9975, 7215));

  CreateBuyerLine();
  CreateHeadings();
  CreateGrid();
  CreateTotalsLine();
  CreateFooter();
  CreateButtons();
  ApplySystemColours();
  SetTabOrder();
  InstallKeyboardRules();
  StartTimers();
}

Form1::~Form1() = default;

QLabel* Form1::AddLabel(const QString& name, const QString& caption, const QRect& geometry) {
  auto* label = new QLabel(caption, frame1_);
  label->setObjectName(name);
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QLineEdit* Form1::AddBox(const QString& name, const QRect& geometry, int font_pixels) {
  auto* box = new QLineEdit(frame1_);
  box->setObjectName(name);
  box->setGeometry(geometry);
  box->setFont(SongFont(font_pixels));
  box->setAlignment(Qt::AlignCenter);
  // Qt lays the text out 2 px inside the border on each side. A width such as "117.25" is
  // 48 px, as wide as the narrow columns inside their borders, and the Song face's last digit
  // reaches a pixel past its advance: Qt then scrolls the text and cuts a digit at one end.
  // Laid out over the box's whole width and centred, it stands whole between the borders.
  box->setTextMargins(-3, 0, -3, 0);
  box->setMaxLength(32767);
  box->setProperty("box", true);
  box->setCursor(Qt::IBeamCursor);
  start_in_view_->Watch(box);
  return box;
}

void Form1::CreateGrid() {
  // Created row by row, left to right, so each box lies over its left and upper neighbours
  // and the overlapping borders draw as single rules.
  for (int row = 0; row < tally::kRowCount; ++row) {
    for (const GridColumn& column : kGridColumns) {
      const int left = row == 0 ? column.row0_left : column.left;
      QLineEdit* box = AddBox(ArrayName(column.name, row),
                              TwipsRect(left, kGridTop + kRowPitch * row, column.width, kBoxHeight),
                              column.font_pixels);
      box->setProperty("grid", true);
      box->setProperty("amount", column.column == TallyColumn::Amount);
      store_.Bind(FieldId(column.column, row), box);
    }
  }
}

void Form1::CreateHeadings() {
  const QString dimensions = QStringLiteral("（长       宽      厚       捆     件/捆）");
  QLabel* headings[] = {
      AddLabel(QStringLiteral("Label6"), dimensions, TwipsRect(765, 930, 3870, 255)),
      AddLabel(QStringLiteral("Label1_0"), QStringLiteral("材 积"), TwipsRect(4920, 960, 495, 255)),
      AddLabel(QStringLiteral("Label1_2"), QStringLiteral("单 价"), TwipsRect(5820, 930, 495, 255)),
      AddLabel(QStringLiteral("Label1_1"), QStringLiteral("金 额"), TwipsRect(6870, 930, 495, 255)),
      AddLabel(QStringLiteral("Label5"), QStringLiteral("单位：立方米、元"),
               TwipsRect(7740, 945, 1800, 255)),
  };
  for (QLabel* heading : headings) heading->setCursor(Qt::IBeamCursor);
}

void Form1::CreateBuyerLine() {
  AddLabel(QStringLiteral("Label7"), QStringLiteral("购货单位"), TwipsRect(840, 480, 855, 255));
  combo1_ = new QComboBox(frame1_);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->setGeometry(TwipsRect(1560, 360, 5775, 300));
  combo1_->setEditable(true);
  // A typed buyer is only a text: it never joins the list.
  combo1_->setInsertPolicy(QComboBox::NoInsert);
  // What the clerk types is the buyer printed on the bill, exactly. QComboBox's completer would
  // complete a typed start of a listed name (and pick an entry that matches ignoring case),
  // and some Qt versions also swap the text for such an entry on Enter or when the
  // box loses the focus; the list is only there to pick from.
  combo1_->setCompleter(nullptr);
  QObject::disconnect(combo1_->lineEdit(), &QLineEdit::editingFinished, combo1_, nullptr);
  QObject::disconnect(combo1_->lineEdit(), &QLineEdit::returnPressed, combo1_, nullptr);
  UseBuyerListRows(*combo1_);
  IgnoreWheelWhileClosed(*combo1_);
  combo1_->setEditText(QString(10, QLatin1Char(' ')));
}

void Form1::CreateTotalsLine() {
  AddLabel(QStringLiteral("Label10"), QStringLiteral("检尺员"), TwipsRect(1155, 6240, 645, 375))
      ->setCursor(Qt::IBeamCursor);
  QLabel* label3 =
      AddLabel(QStringLiteral("Label3"), QStringLiteral("合计"), TwipsRect(3840, 6240, 540, 375));
  label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label3->setCursor(Qt::IBeamCursor);

  store_.Bind(SingleField::Text9,
              AddBox(QStringLiteral("Text9"), TwipsRect(1800, 6120, 1275, 375), kLargeFontPixels));
  store_.Bind(SingleField::Text10, AddBox(QStringLiteral("Text10"),
                                          TwipsRect(4620, 6120, 1515, 375), kDefaultFontPixels));
  store_.Bind(SingleField::Text11, AddBox(QStringLiteral("Text11"),
                                          TwipsRect(6600, 6120, 1515, 375), kDefaultFontPixels));
}

void Form1::CreateFooter() {
  AddLabel(QStringLiteral("Label8"), QStringLiteral("售货单位:"), TwipsRect(840, 6810, 915, 315));
  label4_ = AddLabel(QStringLiteral("Label4"), QStringLiteral("Label4"),
                     TwipsRect(1680, 6810, 3375, 255));
  label2_ = AddLabel(QStringLiteral("Label2"), QStringLiteral("Label2"),
                     TwipsRect(7035, 6705, 2070, 315));
  label2_->setFont(SongFont(kLargeFontPixels));
  // In the free place between the seller and the date, so nothing else moves.
  label_bill_ = AddLabel(QStringLiteral("LabelBill"), QString(), TwipsRect(5160, 6810, 1800, 255));
  label_bill_->setAlignment(Qt::AlignRight | Qt::AlignTop);
}

GraphicalButton* Form1::AddPictureButton(const QString& name, const QString& words, bool spread,
                                         int top_twips) {
  auto* button = new GraphicalButton(kPictureButtonBackground, frame1_);
  button->setObjectName(name);
  button->setGeometry(TwipsRect(8385, top_twips, 1200, 500));
  const WordSpacing spacing = spread ? WordSpacing::Spread : WordSpacing::Together;
  button->SetPictures([words, spacing](bool pressed, qreal device_pixel_ratio) {
    return ButtonPicture(words, spacing, pressed, device_pixel_ratio);
  });
  // The platform's "application starting" pointer: an arrow with an hourglass.
  button->setCursor(Qt::BusyCursor);
  return button;
}

void Form1::CreateButtons() {
  GraphicalButton* command1 =
      AddPictureButton(QStringLiteral("Command1"), QStringLiteral("清除数据"), false, 2265);
  GraphicalButton* command4 =
      AddPictureButton(QStringLiteral("Command4"), QStringLiteral("导出表格"), false, 2925);
  GraphicalButton* command6 =
      AddPictureButton(QStringLiteral("Command6"), QStringLiteral("最小化"), true, 3585);
  GraphicalButton* command5 =
      AddPictureButton(QStringLiteral("Command5"), QStringLiteral("退出"), true, 4245);
  // The bill book, in the free place below 退出.
  GraphicalButton* command7 =
      AddPictureButton(QStringLiteral("Command7"), QStringLiteral("账本"), true, 4905);
  command_order_ = {command6, command5, command4, command1, command7};

  command2_ = new GraphicalButton(GrayTextColour(), frame1_);
  command2_->setObjectName(QStringLiteral("Command2"));
  command2_->setText(QStringLiteral("进入网站"));
  command2_->setGeometry(TwipsRect(8520, 5880, 1095, 375));
  command2_->setCursor(Qt::ArrowCursor);

  connect(command1, &QAbstractButton::clicked, this, [this] {
    sheet_.ClearEntries();
    current_bill_.Clear();
    ShowBillNumber(current_bill_.number());
  });
  connect(command4, &QAbstractButton::clicked, this, [this] {
    if (export_handler_) export_handler_();
  });
  connect(command7, &QAbstractButton::clicked, this, [this] {
    if (book_handler_) book_handler_();
  });
  connect(command6, &QAbstractButton::clicked, this, [this] { showMinimized(); });
  // Ends the program at once: nothing is saved or asked first.
  connect(command5, &QAbstractButton::clicked, this, [] { QCoreApplication::exit(0); });
  connect(command2_, &QAbstractButton::clicked, this, [this] {
    // Told, not fatal: ending the program here would lose the tally on screen.
    if (!OpenWebPage()) {
      ShowMessage(this, QStringLiteral("无法打开网页 %1 ：桌面上没有能打开网页的浏览器。")
                            .arg(QLatin1String(kWebPageAddress)));
    }
  });
}

void Form1::SetTabOrder() {
  std::vector<QWidget*> order;
  const auto box = [this](TallyColumn column, int row) { return store_.Box(FieldId(column, row)); };
  for (int row = 0; row < tally::kRowCount; ++row) {
    for (TallyColumn column : tally::kTypedColumns) {
      order.push_back(box(column, row));
    }
  }
  order.insert(order.end(), {box(TallyColumn::Volume, 0), box(TallyColumn::Amount, 0),
                             box(TallyColumn::Volume, 1), combo1_});
  order.insert(order.end(), command_order_.begin(), command_order_.end());
  order.insert(order.end(), {store_.Box(SingleField::Text9), store_.Box(SingleField::Text10),
                             store_.Box(SingleField::Text11), box(TallyColumn::Amount, 1)});
  for (int row = 2; row < tally::kRowCount; ++row) {
    order.push_back(box(TallyColumn::Amount, row));
    order.push_back(box(TallyColumn::Volume, row));
  }
  order.push_back(command2_);
  // The focus chain is a ring, so after Command2 the walk comes back to Text1 row 0.
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void Form1::InstallKeyboardRules() {
  auto* enter = new EnterAsTab([this] { MoveFocusToNextStop(); }, this);
  for (QWidget* control : frame1_->findChildren<QWidget*>()) {
    if (control->focusPolicy() != Qt::NoFocus) enter->Watch(control);
  }
  enter->Watch(combo1_->lineEdit());

  auto* columns = new ColumnNavigation(this);
  for (TallyColumn column : tally::kTypedColumns) {
    std::vector<QLineEdit*> boxes;
    for (int row = 0; row < tally::kRowCount; ++row) boxes.push_back(Box(FieldId(column, row)));
    columns->AddColumn(std::move(boxes));
  }
}

void Form1::StartTimers() {
  connect(&timer1_, &QTimer::timeout, this, [this] { OnTimer1Tick(); });
  connect(&timer2_, &QTimer::timeout, this, [this] { OnTimer2Tick(); });
  timer1_.start(300);
  timer2_.start(100);
}

void Form1::OnTimer1Tick() {
  const StoreBatch batch(store_);
  tally::RecalculationPass(sheet_);
}

void Form1::OnTimer2Tick() {
  // Set on every tick; QLabel ignores a text it already shows, so this costs no repaint.
  label2_->setText(DateCaption(clock_()));
}

std::u16string Form1::BuyerText() const {
  return combo1_->currentText().toStdU16String();
}

void Form1::SetBuyerList(const std::vector<std::u16string>& buyers) {
  // Filling the list must not replace what the buyer box shows.
  const QString shown = combo1_->currentText();
  combo1_->clear();
  for (const std::u16string& buyer : buyers) combo1_->addItem(QString::fromStdU16String(buyer));
  combo1_->setCurrentIndex(-1);
  combo1_->setEditText(shown);
}

std::u16string Form1::SellerCaption() const {
  return label4_->text().toStdU16String();
}

void Form1::SetSellerCaption(std::u16string_view seller) {
  label4_->setText(QString::fromUtf16(seller.data(), static_cast<qsizetype>(seller.size())));
}

std::u16string Form1::DateCaptionText() const {
  return label2_->text().toStdU16String();
}

void Form1::ShowCentred() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
  Box(FieldId(TallyColumn::Length, 0))->setFocus(Qt::OtherFocusReason);
  show();
  activateWindow();
}

// The colours taken from the desktop's scheme are baked into the style sheet and Command2's
// face; both are made again when the scheme changes while the program runs.
void Form1::ApplySystemColours() {
  const QString sheet = WindowStyleSheet();
  // Setting a style sheet raises palette changes of its own: only a real change goes on.
  if (styleSheet() != sheet) setStyleSheet(sheet);
  command2_->SetFace(GrayTextColour());
}

void Form1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange) {
    ApplySystemColours();
    update();
  }
  QWidget::changeEvent(event);
}

void Form1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), HighlightColour());
}

// Only presses on the bare margin around Frame1 get here: Frame1 keeps its own.
void Form1::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  drag_offset_ = event->globalPosition().toPoint() - pos();
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) move(event->globalPosition().toPoint() - drag_offset_);
}

void Form1::mouseReleaseEvent(QMouseEvent*) {
  dragging_ = false;
}

void Form1::LoadBill(const std::string& number, const billbook::BillContent& content) {
  const StoreBatch batch(store_);
  const auto text = [](const std::string& utf8) {
    return QString::fromStdString(utf8).toStdU16String();
  };
  for (int row = 0; row < tally::kRowCount; ++row) {
    for (int column = 0; column < tally::kColumnCount; ++column) {
      sheet_.SetText(
          FieldId(static_cast<TallyColumn>(column), row),
          text(content.lines[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]));
    }
  }
  sheet_.SetText(SingleField::Text9, text(content.scaler));
  sheet_.SetText(SingleField::Text10, text(content.total_volume));
  sheet_.SetText(SingleField::Text11, text(content.total_amount));
  combo1_->setEditText(QString::fromStdString(content.buyer));
  current_bill_.Adopt(number, content);
  ShowBillNumber(number);
}

void Form1::ShowBillNumber(const std::string& number) {
  label_bill_->setText(
      number.empty() ? QString() : QStringLiteral("单号 %1").arg(QString::fromStdString(number)));
}

}  // namespace ui
