// What the clerk is told when the export meets a failure nobody foresaw.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "workbook/automation_error.h"
#include "workbook/tally_export.h"

namespace workbook {
namespace {

class EmptySource final : public ExportSource {
 public:
  std::u16string Buyer() const override { return u"东风木业"; }
  std::u16string Seller() const override { return {}; }
  std::u16string Text(tally::FieldId) const override { return {}; }
};

// An engine that breaks in a way no workbook failure describes, with a developer's text.
class BrokenFactory final : public ApplicationFactory {
 public:
  explicit BrokenFactory(std::function<void()> fail) : fail_(std::move(fail)) {}
  std::unique_ptr<Application> Create(std::string_view) override {
    ++attempts;
    fail_();
    return nullptr;
  }
  int attempts = 0;

 private:
  std::function<void()> fail_;
};

void ExpectTheClerksMessage(const std::function<void()>& fail) {
  BrokenFactory factory(fail);
  int reminders = 0;
  TallyExport exporter(factory, "/nowhere", [&] { ++reminders; });
  try {
    exporter.Run(EmptySource());
    ADD_FAILURE() << "the export succeeded";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), 51);
    EXPECT_EQ(e.Description().find("BIFF"), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find("内部错误"), std::string::npos) << e.Description();
  }
  EXPECT_EQ(factory.attempts, 2);  // it retried once, as for any failure
  EXPECT_EQ(reminders, 1);
}

TEST(TallyExport, AnUnexpectedFailureReachesTheClerkAsANumberAndChineseWords) {
  ExpectTheClerksMessage(
      [] { throw std::length_error("BIFF record body longer than 65535 bytes"); });
  ExpectTheClerksMessage([] { throw 42; });  // not even an exception class
}

TEST(TallyExport, RunningOutOfMemoryIsNotDisguised) {
  BrokenFactory factory([] { throw std::bad_alloc(); });
  TallyExport exporter(factory, "/nowhere", nullptr);
  EXPECT_THROW(exporter.Run(EmptySource()), std::bad_alloc);
}

}  // namespace
}  // namespace workbook
