// The window's store keeps the contract the tally rules rely on: a real change is announced
// once, at once; writing the text a field already holds announces nothing (the zero rule
// writes "" into empty fields all the time, and every announcement runs it again).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <functional>
#include <vector>

#include "ui/qt_field_store.h"

namespace ui {
namespace {

using tally::FieldId;
using tally::SingleField;
using tally::TallyColumn;

struct CountingListener final : tally::FieldChangeListener {
  void OnFieldChanged(FieldId) override { ++changes; }
  int changes = 0;
};

TEST(QtFieldStoreTest, AnnouncesEachRealChangeOnceAndNothingElse) {
  QtFieldStore store;
  QLineEdit volume_box;
  QLineEdit total_box;
  const FieldId volume(TallyColumn::Volume, 0);
  const FieldId total(SingleField::Text10);
  store.Bind(volume, &volume_box);
  store.Bind(total, &total_box);
  CountingListener listener;
  store.SetChangeListener(&listener);

  const struct {
    const char* what;
    std::function<void()> act;
    int announced;
    const char16_t* then_holds;
  } steps[] = {
      {"a new text", [&] { store.SetText(volume, u"0.4000"); }, 1, u"0.4000"},
      {"the same text", [&] { store.SetText(volume, u"0.4000"); }, 0, u"0.4000"},
      {"empty into empty", [&] { store.SetText(total, u""); }, 0, u"0.4000"},
      {"typed", [&] { QTest::keyClick(&volume_box, '5'); }, 1, nullptr},
      {"the same text in a batch",
       [&] {
         StoreBatch batch(store);
         store.SetText(volume, store.Text(volume));
       },
       0, nullptr},
      {"written twice in a batch, shown at its end",
       [&] {
         StoreBatch batch(store);
         store.SetText(volume, u"1.2663");
         store.SetText(volume, u"1.2663");
         EXPECT_EQ(store.Text(volume), u"1.2663") << "read back before the batch ends";
       },
       1, u"1.2663"},
      {"changed and changed back in a batch",
       [&] {
         StoreBatch batch(store);
         store.SetText(volume, u"");
         store.SetText(volume, u"1.2663");
       },
       2, u"1.2663"},
  };
  for (const auto& step : steps) {
    listener.changes = 0;
    step.act();
    EXPECT_EQ(listener.changes, step.announced) << step.what;
    if (step.then_holds != nullptr) {
      EXPECT_EQ(volume_box.text().toStdU16String(), step.then_holds) << step.what;
    }
  }
  store.SetChangeListener(nullptr);
}

}  // namespace
}  // namespace ui
