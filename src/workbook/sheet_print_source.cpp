#include "workbook/sheet_print_source.h"

#include "workbook/failure_descriptions.h"
#include "xls/failure.h"
#include "xls/layout/sheet_layout_file.h"

namespace workbook {

xls::layout::SheetLayout LoadSheetLayout(const std::filesystem::path& path,
                                         std::u16string_view sheet) {
  try {
    return xls::layout::ReadSheetLayoutFile(path, sheet);
  } catch (const xls::Failure& failure) {
    throw DescribeEngineFailure(failure);
  }
}

xls::layout::SheetLayout LoadSavedSheetLayout(const xls::XlsDocument& document,
                                              std::u16string_view sheet) {
  try {
    return xls::layout::ReadSavedSheetLayout(document, sheet);
  } catch (const xls::Failure& failure) {
    throw DescribeEngineFailure(failure);
  }
}

}  // namespace workbook
