#include "workbook/embedded_application.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/ascii_case.h"
#include "workbook/failure_descriptions.h"
#include "xls/failure.h"
#include "xls/xls_document.h"

namespace workbook {

struct EmbeddedApplicationFactory::SavedWorkbook {
  std::shared_ptr<xls::XlsDocument> document;
};

namespace {

using SavedWorkbook = EmbeddedApplicationFactory::SavedWorkbook;

constexpr std::string_view kProgId = "excel.application";

// Runs one engine operation; its failures reach the caller in the clerk's words.
template <typename Operation>
auto Engine(Operation&& operation) -> decltype(operation()) {
  try {
    return operation();
  } catch (const xls::Failure& failure) {
    throw DescribeEngineFailure(failure);
  }
}

// An open workbook as every handle on it sees it. Close marks it closed: handles that
// outlive it keep its memory alive but may no longer use it.
struct OpenWorkbook {
  std::shared_ptr<xls::XlsDocument> document;
  bool closed = false;

  xls::XlsDocument& Use() const {
    if (closed) throw WorkbookClosedError(document->Path());
    return *document;
  }
};

struct InstanceState {
  WorkbookOpener opener;
  std::shared_ptr<SavedWorkbook> saved;
  std::vector<std::shared_ptr<OpenWorkbook>> workbooks;
  bool ended = false;

  void CheckRunning() const {
    if (ended) throw InstanceEndedError();
  }
  void CloseAll() {
    for (const auto& workbook : workbooks) workbook->closed = true;
    workbooks.clear();
  }
};

class EmbeddedWorksheet : public Worksheet {
 public:
  EmbeddedWorksheet(std::shared_ptr<OpenWorkbook> workbook, std::size_t sheet)
      : workbook_(std::move(workbook)), sheet_(sheet) {}

  std::u16string Cell(int row, int column) const override {
    return Engine([&] { return workbook_->Use().Cell(sheet_, row, column); });
  }
  void SetCell(int row, int column, std::u16string_view value) override {
    Engine([&] { workbook_->Use().SetCell(sheet_, row, column, value); });
  }

 private:
  std::shared_ptr<OpenWorkbook> workbook_;
  std::size_t sheet_;
};

class EmbeddedWorkbook : public Workbook {
 public:
  EmbeddedWorkbook(std::shared_ptr<InstanceState> instance, std::shared_ptr<OpenWorkbook> workbook)
      : instance_(std::move(instance)), workbook_(std::move(workbook)) {}

  std::unique_ptr<Worksheet> Worksheets(std::u16string_view name) override {
    const std::size_t sheet = Engine([&] { return workbook_->Use().WorksheetIndex(name); });
    return std::make_unique<EmbeddedWorksheet>(workbook_, sheet);
  }
  void Save(const std::function<void()>& while_saved) override {
    Engine([&] { workbook_->Use().Save(while_saved); });
    if (instance_->saved) instance_->saved->document = workbook_->document;
  }
  void Close() override {
    workbook_->closed = true;
    std::erase(instance_->workbooks, workbook_);
  }

 private:
  std::shared_ptr<InstanceState> instance_;
  std::shared_ptr<OpenWorkbook> workbook_;
};

class EmbeddedWorkbooks : public Workbooks {
 public:
  explicit EmbeddedWorkbooks(std::shared_ptr<InstanceState> instance)
      : instance_(std::move(instance)) {}

  std::unique_ptr<Workbook> Open(const std::filesystem::path& path) override {
    instance_->CheckRunning();
    auto workbook = std::make_shared<OpenWorkbook>(OpenWorkbook{TakeSaved(path)});
    if (!workbook->document)
      workbook->document = Engine([&] { return xls::XlsDocument::Open(path); });
    instance_->workbooks.push_back(workbook);
    return std::make_unique<EmbeddedWorkbook>(instance_, std::move(workbook));
  }
  void Close() override { instance_->CloseAll(); }

 private:
  // The workbook kept from the last save when it is the one asked for; null otherwise.
  std::shared_ptr<xls::XlsDocument> TakeSaved(const std::filesystem::path& path) {
    if (!instance_->saved) return nullptr;
    std::shared_ptr<xls::XlsDocument> kept = std::move(instance_->saved->document);
    instance_->saved->document.reset();
    if (kept && kept->Path() == path) return kept;
    return nullptr;
  }

  std::shared_ptr<InstanceState> instance_;
};

class EmbeddedApplication : public Application {
 public:
  EmbeddedApplication(WorkbookOpener opener, std::shared_ptr<SavedWorkbook> saved)
      : instance_(std::make_shared<InstanceState>(
            InstanceState{std::move(opener), std::move(saved), {}, false})) {}

  std::unique_ptr<Workbooks> GetWorkbooks() override {
    instance_->CheckRunning();
    return std::make_unique<EmbeddedWorkbooks>(instance_);
  }
  void SetVisible(bool visible) override {
    instance_->CheckRunning();
    if (!visible || !instance_->opener) return;
    for (const auto& workbook : instance_->workbooks) instance_->opener(*workbook->document);
  }
  void Quit() override {
    instance_->CloseAll();
    instance_->ended = true;
  }

 private:
  std::shared_ptr<InstanceState> instance_;
};

}  // namespace

EmbeddedApplicationFactory::EmbeddedApplicationFactory(WorkbookOpener opener,
                                                       SavedWorkbookReopening reopening)
    : opener_(std::move(opener)),
      saved_(reopening == SavedWorkbookReopening::kFromMemory ? std::make_shared<SavedWorkbook>()
                                                              : nullptr) {}

std::unique_ptr<Application> EmbeddedApplicationFactory::Create(std::string_view prog_id) {
  if (!base::EqualIgnoringAsciiCase(prog_id, kProgId)) {
    throw UnknownProgIdError(prog_id);
  }
  return std::make_unique<EmbeddedApplication>(opener_, saved_);
}

void EmbeddedApplicationFactory::ForgetSaved() {
  if (saved_) saved_->document.reset();
}

}  // namespace workbook
