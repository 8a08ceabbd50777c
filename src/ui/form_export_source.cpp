#include "ui/form_export_source.h"

#include "ui/form1.h"

namespace ui {

std::u16string FormExportSource::Buyer() const {
  return form_.BuyerText();
}

std::u16string FormExportSource::Seller() const {
  return form_.SellerCaption();
}

std::u16string FormExportSource::Text(tally::FieldId field) const {
  return form_.sheet().Text(field);
}

}  // namespace ui
