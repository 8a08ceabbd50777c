#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "billbook/bill.h"
#include "workbook/tally_export.h"

namespace workbook {

// The bill as the export wrote it: the window's texts exactly as shown.
billbook::BillContent BillContentOf(const ExportSource& source);

// The book beside the workbook of the program's folder.
std::filesystem::path BookPath(const std::filesystem::path& program_directory);

// Records a reprint of bill `number` (opened from the book) with its `content` unchanged: the
// book counts one more print. A failure is returned as the clerk's text, as CurrentBill's.
std::optional<std::string> RecordReprint(const std::filesystem::path& book,
                                         const std::string& number,
                                         const billbook::BillContent& content,
                                         const billbook::Recorder& recorder);

// The window's current bill: what it holds from start-up or 清除数据 on. Its first
// recording numbers it; later ones are reprints (unchanged) or revisions (changed) of that
// number, which the book tells apart against the latest revision it keeps.
class CurrentBill {
 public:
  // Records `content` in the book. A failure of the book never reaches the caller as an
  // exception: the export it follows has already succeeded, so the clerk is told (the
  // returned text) and the tally goes on as if nothing was recorded.
  std::optional<std::string> Record(const std::filesystem::path& book,
                                    const billbook::BillContent& content,
                                    const billbook::Recorder& recorder);

  // 清除数据: the next recording starts a new bill.
  void Clear();
  // 更正 of a bill from the book: the window now holds bill `number` as its latest revision
  // `content` shows it; the next recording is a reprint or a revision of that number.
  void Adopt(const std::string& number, const billbook::BillContent& content);

  // Whether the window's `shown` bill holds what no recording kept: a change since the last
  // recording, or, for a bill never recorded, any text in its lines.
  bool HoldsUnrecorded(const billbook::BillContent& shown) const;

  // "YYYYMMDD-NNN", or empty for a tally never recorded.
  const std::string& number() const { return number_; }
  // What was recorded last, for the window to tell a changed tally from an unchanged one.
  const std::optional<billbook::BillContent>& last_recorded() const { return last_recorded_; }

 private:
  std::string number_;
  std::optional<billbook::BillContent> last_recorded_;
};

}  // namespace workbook
