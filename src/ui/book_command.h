#pragma once

#include <QShortcut>
#include <filesystem>

#include "billbook/bill.h"

namespace ui {

class Form1;
class WorkbookBinding;

// The shortcut that opens the book's window, beside Command7 (账本).
inline constexpr char kBookShortcut[] = "Ctrl+B";

// Command7 and Ctrl+B: the book's window over the book beside the workbook, whose 重印
// exports a bill from the book as Command4 exports the window's, and whose 更正 loads a
// bill into the window (asking first when the window holds a tally not yet exported).
class BookCommand {
 public:
  BookCommand(Form1& form, WorkbookBinding& binding, std::filesystem::path program_directory);
  BookCommand(const BookCommand&) = delete;
  BookCommand& operator=(const BookCommand&) = delete;

  // Shows the book's window until the clerk closes it.
  void Run();

 private:
  bool Correct(const billbook::OpenedBill& bill);

  Form1& form_;
  WorkbookBinding& binding_;
  std::filesystem::path program_directory_;
  QShortcut shortcut_;
};

}  // namespace ui
