#include "ui/message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <algorithm>

#include "ui/message_line_breaks.h"

namespace ui {
namespace {

// A line of a message holds about this many Chinese characters.
constexpr int kLineCharacters = 30;

// Qt breaks a message box's lines again on its own, anywhere, once they are wider than half
// the screen; the box's margins come on top of the lines.
constexpr int kBoxMargins = 60;

// Beside its caption the title bar holds the system menu's icon, the close button and margins.
// Qt leaves 50 pixels for them, which cuts "Verdalon" short on Windows 10 (close button 46,
// icon and margins about 40).
constexpr int kTitleBarControls = 120;

int LineWidth(const QWidget& box) {
  int width = box.fontMetrics().horizontalAdvance(QChar(0x4E2D)) * kLineCharacters;
  if (const QScreen* screen = box.screen()) {
    width = std::min(width, screen->availableGeometry().width() / 2 - kBoxMargins);
  }
  return width;
}

}  // namespace

int MessageBoxMinimumWidth(const QString& caption) {
  // The font Qt itself measures a message box's caption with.
  const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
  return title.horizontalAdvance(caption) + kTitleBarControls;
}

void ShowMessage(QWidget* parent, const QString& text) {
  const QString caption = QStringLiteral("Verdalon");
  QMessageBox box(QMessageBox::NoIcon, caption, QString(), QMessageBox::Ok, parent);
  box.setText(BreakAtSeparators(text, box.fontMetrics(), LineWidth(box)));
  // The box sizes itself to its text; a short text would leave its caption cut.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const QMargins margins = grid->contentsMargins();
    const int room = MessageBoxMinimumWidth(caption) - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  box.exec();
}

}  // namespace ui
