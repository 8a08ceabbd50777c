#pragma once

#include <string>

#include "workbook/tally_export.h"

namespace ui {

class Form1;

// The window's texts as an export reads them, live at the moment of each write.
class FormExportSource final : public workbook::ExportSource {
 public:
  explicit FormExportSource(Form1& form) : form_(form) {}
  std::u16string Buyer() const override;
  std::u16string Seller() const override;
  std::u16string Text(tally::FieldId field) const override;

 private:
  Form1& form_;
};

}  // namespace ui
