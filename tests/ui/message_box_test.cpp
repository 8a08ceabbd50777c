// Every message the program shows: a box without icon whose one button reads 确定, with no
// picture on it, whatever the desktop's language and style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QTimer>
#include <memory>

#include "ui/failure_report.h"
#include "ui/message_box.h"
#include "ui/plain_dialog_buttons_style.h"
#include "ui/single_instance_guard.h"
#include "ui/workbook_binding.h"

namespace ui {
namespace {

// What a shown message box looked like.
struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::Information;
  bool has_icon_picture = true;
  QStringList buttons;
  int buttons_with_pictures = 0;
  int width = 0;
};

void Look(QMessageBox& box, SeenBox& seen) {
  seen.title = box.windowTitle();
  seen.text = box.text().remove(QChar::LineSeparator);
  seen.icon = box.icon();
  seen.has_icon_picture = !box.iconPixmap().isNull();
  seen.buttons.clear();
  seen.buttons_with_pictures = 0;
  seen.width = box.width();
  for (QAbstractButton* button : box.buttons()) {
    seen.buttons << button->text();
    if (!button->icon().isNull()) ++seen.buttons_with_pictures;
  }
}

// Shows a message as the program does and looks at the box while it is up, before and after
// the box is told its style changed (as when the desktop's theme changes).
std::pair<SeenBox, SeenBox> ShowAndLook(const QString& text) {
  std::pair<SeenBox, SeenBox> seen;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    Look(*box, seen.first);
    box->setStyle(QApplication::style());
    for (QWidget* child : box->findChildren<QWidget*>()) {
      QEvent change(QEvent::StyleChange);
      QApplication::sendEvent(child, &change);
    }
    Look(*box, seen.second);
    box->accept();
  });
  ShowMessage(nullptr, text);
  return seen;
}

TEST(MessageBoxTest, EveryMessageHasOneChineseOkButtonWithoutPicture) {
  const QString messages[] = {
      QString::fromUtf16(kCloseWorkbookReminder),
      QString::fromUtf16(kAlreadyRunningMessage),
      FailureMessage({53, QStringLiteral("找不到文件 锯材账单.xls")}),
  };
  for (const QString& message : messages) {
    const auto [first, after_restyle] = ShowAndLook(message);
    for (const SeenBox& seen : {first, after_restyle}) {
      EXPECT_EQ(seen.text, message);
      EXPECT_EQ(seen.title, "Verdalon");
      EXPECT_EQ(seen.icon, QMessageBox::NoIcon) << message.toStdString();
      EXPECT_FALSE(seen.has_icon_picture) << message.toStdString();
      EXPECT_EQ(seen.buttons, QStringList{"确定"}) << message.toStdString();
      EXPECT_EQ(seen.buttons_with_pictures, 0) << message.toStdString();
      // The title bar holds the caption, the close button (46 px on Windows 10) and the
      // system menu's icon (16 px) with margins: a box sized to a short text alone cut it.
      const QFontMetrics title_font(QApplication::font("QMdiSubWindowTitleBar"));
      EXPECT_GE(seen.width, title_font.horizontalAdvance(seen.title) + 46 + 16 + 3 * 8)
          << message.toStdString();
    }
  }
}

// A desktop style that puts pictures on dialog buttons, as some desktops do.
class PicturedButtonsStyle final : public QProxyStyle {
 public:
  PicturedButtonsStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

TEST(MessageBoxTest, NoPictureOnTheButtonsEvenWhereTheDesktopStyleHasThem) {
  const std::unique_ptr<QStyle> pictured = std::make_unique<PicturedButtonsStyle>();
  QDialogButtonBox desktop_look;
  desktop_look.setStyle(pictured.get());
  desktop_look.setStandardButtons(QDialogButtonBox::Ok);
  ASSERT_FALSE(desktop_look.button(QDialogButtonBox::Ok)->icon().isNull())
      << "the desktop style used here must put a picture on the button";

  const auto plain = std::make_unique<PlainDialogButtonsStyle>(new PicturedButtonsStyle);
  QDialogButtonBox ours;
  ours.setStyle(plain.get());
  ours.setStandardButtons(QDialogButtonBox::Ok);
  EXPECT_TRUE(ours.button(QDialogButtonBox::Ok)->icon().isNull());
  EXPECT_EQ(ours.button(QDialogButtonBox::Ok)->text(), "确定");

  // The program's own style is the plain one.
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons), 0);
}

// Qt's other words, such as a box's context menu, are Chinese too.
TEST(MessageBoxTest, QtsOwnWordsAreChinese) {
  QLineEdit box;
  const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
  QStringList words;
  for (const QAction* action : menu->actions()) words << action->text();
  const QString all = words.join(QLatin1Char('|'));
  EXPECT_TRUE(all.contains("复制")) << all.toStdString();
  EXPECT_TRUE(all.contains("粘贴")) << all.toStdString();
  EXPECT_FALSE(all.contains("Copy")) << all.toStdString();
}

}  // namespace
}  // namespace ui
