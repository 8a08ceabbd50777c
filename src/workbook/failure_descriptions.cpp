#include "workbook/failure_descriptions.h"

#include <string>

#include "base/text_encoding.h"
#include "workbook/cell_map.h"

namespace workbook {

namespace {

std::string QuotedName(std::u16string_view name) {
  return "“" + base::ToUtf8(name) + "”";
}

std::string Quoted(const std::filesystem::path& path) {
  return QuotedName(path.u16string());
}

std::string CellName(const xls::Failure& failure) {
  if (!failure.Cell()) return "";
  return "第 " + std::to_string(failure.Cell()->row) + " 行、第 " +
         std::to_string(failure.Cell()->column) + " 列的单元格";
}

// "工作簿“…”的工作表“…”", or just the workbook where no sheet is known.
std::string WhereInWorkbook(const xls::Failure& failure) {
  std::string where = "工作簿" + Quoted(failure.Path());
  if (!failure.Sheet().empty()) where += "的工作表" + QuotedName(failure.Sheet());
  return where;
}

// Who has the workbook open and what to do: close it there, or, if that program is gone
// and left its lock file behind, delete that file.
std::string HeldOpenDescription(const xls::Failure& failure) {
  const xls::file::LockHolder& holder = *failure.Holder();
  std::string who = holder.user.empty() ? "另一个用户" : "用户" + QuotedName(holder.user);
  if (!holder.machine.empty()) who += "（电脑" + QuotedName(holder.machine) + "）";
  const std::string lock_file = Quoted(holder.lock_file);
  return "工作簿" + Quoted(failure.Path()) + "正被" + who +
         "在电子表格程序中打开，现在保存会使那边显示和打印的仍是旧的内容，所以没有保存。"
         "请先在那个程序中关闭它后再试；" +
         (holder.removable
              ? "如果那个程序已经退出，请删除锁定文件" + lock_file + "后再试。"
              : "如果那个程序已经退出：锁定文件" + lock_file +
                    "属于另一个用户，您没有权限删除它，请让它的主人或管理员删除后再试。");
}

// The packages carry the sample workbook in this folder beside the program, under a name
// that unpacking a newer package over the old folder cannot collide with the clerk's own.
constexpr std::u16string_view kSampleFolder = u"样板";

// Where a missing workbook can be taken from the first time: the sample beside it.
std::string SampleHint(const std::filesystem::path& path) {
  const std::filesystem::path name = path.filename();
  if (name != std::filesystem::path(kWorkbookFileName)) return "";
  return "第一次使用时，把程序自带的样板" + Quoted(path.parent_path() / kSampleFolder / name) +
         "复制到程序所在的文件夹即可。";
}

constexpr const char* kSaveAsXls = "请在电子表格程序中另存为“Excel 97-2003 工作簿（.xls）”后再试。";
constexpr const char* kFileUnchanged = "原文件未被改动。";

}  // namespace

AutomationError DescribeEngineFailure(const xls::Failure& failure) {
  using xls::FailureKind;
  const std::string file = Quoted(failure.Path());
  const bool saving = failure.WhileSaving();
  const std::string unchanged = saving ? kFileUnchanged : "";
  const std::string verb = saving ? "保存" : "读取";
  switch (failure.Kind()) {
    case FailureKind::kNotFound:
      return {error_number::kFileNotFound,
              saving ? "无法保存文件" + file + "：它所在的文件夹不存在。"
                     : "找不到文件" + file + "。请把工作簿放在程序所在的文件夹中。" +
                           SampleHint(failure.Path())};
    case FailureKind::kPermissionDenied:
      return {error_number::kPermissionDenied,
              saving ? "无法保存文件" + file + "：没有写入权限（文件或所在文件夹是只读的）。" +
                           unchanged
                     : "没有权限读取文件" + file + "。"};
    case FailureKind::kHeldByAnotherProgram:
      if (failure.Holder()) {
        return {error_number::kPermissionDenied, HeldOpenDescription(failure) + unchanged};
      }
      return {error_number::kPermissionDenied, "文件" + file + "正被其他程序使用，无法" + verb +
                                                   "。请先在那个程序中关闭它后再试。" + unchanged};
    case FailureKind::kDiskFull:
      return {error_number::kDiskFull,
              "磁盘已满，无法" + verb + "文件" + file + "。请腾出磁盘空间后再试。" + unchanged};
    case FailureKind::kNotARegularFile:
      return {error_number::kPathFileAccess,
              file + "不是普通文件（而是文件夹、管道或设备），不能当作工作簿" + verb +
                  "。请把真正的工作簿文件放在这个位置。"};
    case FailureKind::kTooLarge:
      return {error_number::kBadFileFormat, "文件" + file + "太大，不像是锯材账单的工作簿。"};
    case FailureKind::kInputOutput:
      return {error_number::kPathFileAccess, verb + "文件" + file + "时出错（系统错误码 " +
                                                 std::to_string(failure.SystemError().value()) +
                                                 "）。" + unchanged};
    case FailureKind::kNotAnOfficeFile:
      return {error_number::kBadFileFormat,
              "文件" + file + "不是 Excel 97-2003 工作簿（.xls），无法读取。"};
    case FailureKind::kDamaged:
      return {error_number::kBadFileFormat, "文件" + file + "已损坏，无法读取其中的工作表。"};
    case FailureKind::kEncrypted:
      return {
          error_number::kBadFileFormat,
          "文件" + file + "设有打开密码（已加密），无法读取。请在电子表格程序中取消密码后再试。"};
    case FailureKind::kOldFormat:
      return {error_number::kBadFileFormat,
              "文件" + file + "是 Excel 95 或更早的格式。" + kSaveAsXls};
    case FailureKind::kXlsxFormat:
      return {
          error_number::kBadFileFormat,
          "文件" + file + "是 Excel 2007 及以后的 .xlsx 工作簿，只是扩展名为 .xls。" + kSaveAsXls};
    case FailureKind::kOdsFormat:
      return {error_number::kBadFileFormat,
              "文件" + file + "是 OpenDocument 电子表格（.ods），只是扩展名为 .xls。" + kSaveAsXls};
    case FailureKind::kNoWorkbookStream:
      return {error_number::kBadFileFormat,
              "文件" + file + "不是 Excel 工作簿：其中没有工作簿数据。"};
    case FailureKind::kNoSuchSheet:
      return {error_number::kSubscriptOutOfRange,
              "工作簿" + file + "中没有名为" + QuotedName(failure.Sheet()) + "的工作表。"};
    case FailureKind::kCellOutOfRange:
      return {error_number::kAutomation, WhereInWorkbook(failure) + "中没有" + CellName(failure) +
                                             "：工作表只有 65536 行、256 列。"};
    case FailureKind::kTextTooLong:
      return {error_number::kAutomation, "要写入" + WhereInWorkbook(failure) + CellName(failure) +
                                             "的文本太长（" + std::to_string(failure.TextLength()) +
                                             " 个字符），单元格最多只能容纳 32767 个字符。"};
    case FailureKind::kInternal:
      return {error_number::kAutomation,
              "处理" + WhereInWorkbook(failure) + "时，电子表格引擎出现内部错误。" + unchanged};
    case FailureKind::kBackupOutOfReach:
      return {error_number::kPermissionDenied,
              "工作簿" + file + "旁边有一次被中断的保存留下的备份文件" +
                  Quoted(failure.Obstacle()) +
                  "，它可能是旧内容仅有的一份，而您没有权限读取或处理它，所以没有保存。"
                  "请让这个文件的主人或管理员打开一次工作簿（程序会用它恢复或清理），"
                  "或确认工作簿完好后删除它，再试。" +
                  unchanged};
    case FailureKind::kBackupNotShareable:
      return {error_number::kPermissionDenied,
              "保存工作簿" + file + "时需要在旁边放一份备份" + Quoted(failure.Obstacle()) +
                  "，但无法让所有能读取工作簿的人也能读取它（您不在工作簿所属的用户组中），"
                  "万一保存中断，他们将无法恢复，所以没有保存。请让工作簿的主人或管理员"
                  "把您加入该用户组，或由他们来保存。" +
                  unchanged};
  }
  return {error_number::kAutomation, "处理工作簿" + file + "时出错。"};
}

AutomationError UnknownProgIdError(std::string_view prog_id) {
  return {error_number::kCannotCreateObject,
          "无法创建对象“" + std::string(prog_id) + "”：没有这个电子表格程序。"};
}

AutomationError InstanceEndedError() {
  return {error_number::kAutomation, "电子表格程序的实例已经退出。"};
}

AutomationError WorkbookClosedError(const std::filesystem::path& path) {
  return {error_number::kAutomation, "工作簿" + Quoted(path) + "已经关闭。"};
}

AutomationError NothingToShowWorkbookError(const std::filesystem::path& path) {
  return {error_number::kAutomation,
          "无法打开" + Quoted(path) + "：桌面上没有能打开 .xls 文件的电子表格程序。"};
}

AutomationError UnexpectedExportError() {
  return {error_number::kInternalError,
          "导出码单时出现意外的内部错误，工作簿可能没有写入。屏幕上的码单没有改动，可以再试一次。"};
}

namespace {

// What is wrong with the bill book, for recording into it and exporting it alike.
std::string BookProblem(billbook::Failure failure, const std::filesystem::path& book) {
  using billbook::Failure;
  const std::string file = Quoted(book);
  std::string what;
  switch (failure) {
    case Failure::kNotAFile:
      what = file +
             "不是普通文件（而是文件夹、链接、管道或设备），不能当作账本使用。"
             "请移走它，程序会在这里新建账本。";
      break;
    case Failure::kNotSqlite:
      what = "文件" + file + "不是账本文件，也不是数据库。程序不会改动它；请移走它后再试。";
      break;
    case Failure::kForeignDatabase:
      what = "文件" + file + "是另一个程序的数据库，不是锯材账本。程序不会改动它；请移走它后再试。";
      break;
    case Failure::kDamaged:
      what = "账本" + file + "已损坏。程序不会改动它；请用账本备份中最近的一份替换它。";
      break;
    case Failure::kNewerThanProgram:
      what = "账本" + file + "是更新版本的程序写的，这个版本不能写入它。请升级程序。";
      break;
    case Failure::kReadOnly:
      what = "没有权限写入账本" + file + "（文件或所在文件夹是只读的）。";
      break;
    case Failure::kPermissionDenied:
      what = "没有权限读取账本" + file + "。";
      break;
    case Failure::kDiskFull:
      what = "磁盘已满，无法写入账本" + file + "。请腾出磁盘空间。";
      break;
    case Failure::kBusy:
      what = "账本" + file + "正被另一台电脑长时间占用，等了几秒仍无法写入。";
      break;
    case Failure::kNoSuchBill:
      what = "账本" + file + "中找不到当前单据的单号（账本可能被换过）。请点“清除数据”开始新单据。";
      break;
    case Failure::kBadTotal:
      what = "合计的材积或金额不是规范的数字，无法记入账本" + file + "。";
      break;
    case Failure::kInputOutput:
      what = "读写账本" + file + "时出错。";
      break;
  }
  return what;
}

}  // namespace

std::string DescribeBookFailure(billbook::Failure failure, const std::filesystem::path& book,
                                BookOperation operation) {
  // After an export the workbook was written and printing goes on whatever the book's
  // failure, so the words end by saying that this one bill is missing from the book.
  if (operation != BookOperation::kRecording && failure == billbook::Failure::kNoSuchBill) {
    return "账本" + Quoted(book) + "中找不到这张单据（账本可能被换过）。";
  }
  switch (operation) {
    case BookOperation::kRecording:
      return BookProblem(failure, book) + "码单已照常导出，但这张单据没有记入账本。";
    case BookOperation::kReading:
      return BookProblem(failure, book);
    case BookOperation::kVoiding:
      return BookProblem(failure, book) + "这张单据没有作废。";
  }
  return BookProblem(failure, book);
}

AutomationError NoBillsToExportError() {
  return {
      error_number::kNoCurrentRecord,
      "账本中没有符合所选期间和条件的单据，没有可导出的内容。请换一个期间或清空查找条件后再试。"};
}

AutomationError TooManyRowsToExportError(std::u16string_view sheet, std::size_t rows) {
  return {error_number::kOverflow,
          "要导出的内容太多：工作表" + QuotedName(sheet) + "需要 " + std::to_string(rows) +
              " 行，但一张 .xls 工作表除标题外最多只有 65535 行。请选一个较短的期间分几次导出。"};
}

AutomationError NoFreeExportNameError(const std::filesystem::path& first_name) {
  return {error_number::kFileAlreadyExists,
          "文件夹" + Quoted(first_name.parent_path()) + "中已有太多名为" +
              QuotedName(first_name.stem().u16string()) +
              "的导出文件，没有再导出。请把旧的导出文件移走或删除后再试。"};
}

AutomationError ExportTemplateMissingError(const std::filesystem::path& template_file) {
  return {error_number::kFileNotFound,
          "找不到导出账本用的样板" + Quoted(template_file) +
              "，它是程序自带的文件。请重新安装或解压程序，让它回到程序所在的文件夹。"};
}

AutomationError BookExportReadError(billbook::Failure failure, const std::filesystem::path& book) {
  using billbook::Failure;
  int number = error_number::kPathFileAccess;
  switch (failure) {
    case Failure::kNotSqlite:
    case Failure::kForeignDatabase:
    case Failure::kDamaged:
    case Failure::kNewerThanProgram:
      number = error_number::kBadFileFormat;
      break;
    case Failure::kReadOnly:
    case Failure::kPermissionDenied:
    case Failure::kBusy:
      number = error_number::kPermissionDenied;
      break;
    case Failure::kDiskFull:
      number = error_number::kDiskFull;
      break;
    case Failure::kNotAFile:
    case Failure::kNoSuchBill:
    case Failure::kBadTotal:
    case Failure::kInputOutput:
      break;
  }
  return {number, BookProblem(failure, book) + "账本没有导出。"};
}

}  // namespace workbook
