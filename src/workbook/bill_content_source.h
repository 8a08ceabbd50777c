#pragma once

#include <string>

#include "billbook/bill.h"
#include "workbook/tally_export.h"

namespace workbook {

// A bill from the book as an export reads it, so that a reprint writes into the workbook
// exactly the texts that were printed the first time.
class BillContentSource final : public ExportSource {
 public:
  explicit BillContentSource(const billbook::BillContent& content) : content_(content) {}
  std::u16string Buyer() const override;
  std::u16string Seller() const override;
  std::u16string Text(tally::FieldId field) const override;

 private:
  const billbook::BillContent& content_;
};

}  // namespace workbook
