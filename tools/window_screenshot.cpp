// Renders the main window with a sample tally into a PNG, for the README and for checking
// the layout by eye: window_screenshot [output.png]
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "ui/form1.h"

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

void TypeSample(ui::Form1& form) {
  for (int row = 0; row < static_cast<int>(std::size(kSample)); ++row) {
    for (int k = 0; k < 6; ++k) {
      form.sheet().SetText(tally::kTypedColumns[k], row, kSample[row].texts[k]);
    }
  }
  form.sheet().SetText(tally::SingleField::Text9, u"王师傅");
  form.Combo1()->setEditText(QStringLiteral("东风木业有限公司"));
  form.SetSellerCaption(u"绿源木材加工厂");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString output =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshot.png");

  ui::Form1 form;
  TypeSample(form);
  // Two passes: the first computes the lines, the second brings the total amount along.
  form.OnTimer1Tick();
  form.OnTimer1Tick();
  form.OnTimer2Tick();
  form.ShowCentred();
  QApplication::processEvents();

  if (!form.grab().save(output)) {
    std::fprintf(stderr, "cannot write %s\n", output.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
