#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace workbook {

// The spreadsheet application as the program drives it: an application instance, its
// open workbooks, a workbook, a sheet, and cells addressed (row, column) from 1.
//
// Every handle is an owning pointer: dropping it releases the program's hold on the object.
// A sheet handle keeps its workbook's data alive; a hidden instance whose handles are all
// released ends by itself. Every operation either succeeds or throws AutomationError.

class Worksheet {
 public:
  virtual ~Worksheet() = default;
  // The cell's value as text, in the form a spreadsheet shows in a General cell; an empty
  // cell gives the empty text.
  virtual std::u16string Cell(int row, int column) const = 0;
  // A text that reads as a number is stored as a number, anything else as a string; the
  // empty text empties the cell's value and keeps its format.
  virtual void SetCell(int row, int column, std::u16string_view value) = 0;
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  virtual std::unique_ptr<Worksheet> Worksheets(std::u16string_view name) = 0;
  // Writes the workbook back to its own file, in its own format. `while_saved` runs once
  // the file is written and before another save of it can begin (the engine runs it under
  // its save lock), for what must follow the save one saver at a time; it must not throw.
  virtual void Save(const std::function<void()>& while_saved) = 0;
  void Save() { Save({}); }
  // Closes this workbook; unsaved changes are dropped.
  virtual void Close() = 0;
};

class Workbooks {
 public:
  virtual ~Workbooks() = default;
  virtual std::unique_ptr<Workbook> Open(const std::filesystem::path& path) = 0;
  // Closes every workbook open in the instance.
  virtual void Close() = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  virtual std::unique_ptr<Workbooks> GetWorkbooks() = 0;
  // true shows the instance's open workbook to the user, who keeps it after the program
  // lets go; false keeps the instance hidden.
  virtual void SetVisible(bool visible) = 0;
  // Ends the instance.
  virtual void Quit() = 0;
};

// Creates application instances by ProgID. Each call gives a new instance for the caller
// alone, never one the user or an earlier caller left open.
class ApplicationFactory {
 public:
  virtual ~ApplicationFactory() = default;
  virtual std::unique_ptr<Application> Create(std::string_view prog_id) = 0;
};

}  // namespace workbook
