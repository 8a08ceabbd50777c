#include "workbook/bill_content_source.h"

#include "base/text_encoding.h"

namespace workbook {

std::u16string BillContentSource::Buyer() const {
  return base::FromUtf8(content_.buyer);
}

std::u16string BillContentSource::Seller() const {
  return base::FromUtf8(content_.seller);
}

std::u16string BillContentSource::Text(tally::FieldId field) const {
  if (field.IsCell()) {
    const auto& line = content_.lines[static_cast<std::size_t>(field.Row())];
    return base::FromUtf8(line[static_cast<std::size_t>(field.Column())]);
  }
  switch (field.Single()) {
    case tally::SingleField::Text9:
      return base::FromUtf8(content_.scaler);
    case tally::SingleField::Text10:
      return base::FromUtf8(content_.total_volume);
    case tally::SingleField::Text11:
      return base::FromUtf8(content_.total_amount);
  }
  return {};
}

}  // namespace workbook
