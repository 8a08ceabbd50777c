#pragma once

// A WorkbookAutomation that records every operation, keeps cells in memory and fails on
// request, for checking the exact conversation the load and the export hold with it.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/text_encoding.h"
#include "workbook/automation_error.h"
#include "workbook/workbook_automation.h"

namespace workbook::testing {

using Cells = std::map<std::pair<int, int>, std::u16string>;

struct Recorder {
  std::vector<std::string> log;
  std::set<int> failing_operations;  // by count of operations (releases are not operations)
  int operations = 0;
  int live_handles = 0;
  std::map<std::string, Cells> sheets;  // by UTF-8 sheet name

  void Step(std::string operation) {
    log.push_back(std::move(operation));
    if (failing_operations.count(operations++) != 0) throw AutomationError(75, "注入的故障");
  }
  void Released(const char* what) { log.push_back(std::string("release ") + what); }
};

// Counts itself among the live handles and logs its release.
class Handle {
 protected:
  Handle(Recorder& recorder, const char* name) : recorder_(recorder), name_(name) {
    ++recorder_.live_handles;
  }
  ~Handle() {
    --recorder_.live_handles;
    recorder_.Released(name_);
  }
  Recorder& recorder_;

 private:
  const char* name_;
};

class FakeSheet final : public Worksheet, Handle {
 public:
  FakeSheet(Recorder& recorder, Cells& cells) : Handle(recorder, "sheet"), cells_(cells) {}
  std::u16string Cell(int row, int column) const override {
    recorder_.Step("get " + std::to_string(row) + "," + std::to_string(column));
    const auto it = cells_.find({row, column});
    return it == cells_.end() ? std::u16string() : it->second;
  }
  void SetCell(int row, int column, std::u16string_view value) override {
    recorder_.Step("set " + std::to_string(row) + "," + std::to_string(column) + "=" +
                   base::ToUtf8(value));
    cells_[{row, column}] = std::u16string(value);
  }

 private:
  Cells& cells_;
};

class FakeBook final : public Workbook, Handle {
 public:
  explicit FakeBook(Recorder& recorder) : Handle(recorder, "book") {}
  std::unique_ptr<Worksheet> Worksheets(std::u16string_view name) override {
    recorder_.Step("worksheets " + base::ToUtf8(name));
    const auto it = recorder_.sheets.find(base::ToUtf8(name));
    if (it == recorder_.sheets.end()) throw AutomationError(9, "下标越界");
    return std::make_unique<FakeSheet>(recorder_, it->second);
  }
  void Save(const std::function<void()>& while_saved) override {
    recorder_.Step("save");
    if (while_saved) while_saved();
  }
  void Close() override { recorder_.Step("close"); }
};

class FakeWorkbooks final : public Workbooks, Handle {
 public:
  explicit FakeWorkbooks(Recorder& recorder) : Handle(recorder, "workbooks") {}
  std::unique_ptr<Workbook> Open(const std::filesystem::path& path) override {
    recorder_.Step("open " + path.string());
    return std::make_unique<FakeBook>(recorder_);
  }
  void Close() override { recorder_.Step("workbooks.close"); }
};

class FakeApplication final : public Application, Handle {
 public:
  explicit FakeApplication(Recorder& recorder) : Handle(recorder, "app") {}
  std::unique_ptr<Workbooks> GetWorkbooks() override {
    recorder_.Step("workbooks");
    return std::make_unique<FakeWorkbooks>(recorder_);
  }
  void SetVisible(bool visible) override {
    recorder_.Step(std::string("visible ") + (visible ? "1" : "0"));
  }
  void Quit() override { recorder_.Step("quit"); }
};

class RecordingFactory final : public ApplicationFactory {
 public:
  explicit RecordingFactory(Recorder& recorder) : recorder_(recorder) {}
  std::unique_ptr<Application> Create(std::string_view prog_id) override {
    recorder_.Step("create " + std::string(prog_id));
    return std::make_unique<FakeApplication>(recorder_);
  }

 private:
  Recorder& recorder_;
};

}  // namespace workbook::testing
