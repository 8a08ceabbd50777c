#include "xls/formula/value.h"

namespace xls::formula {

Value Value::Number(double value) {
  Value v;
  v.kind = Kind::kNumber;
  v.number = value;
  return v;
}

Value Value::Text(std::u16string value) {
  Value v;
  v.kind = Kind::kText;
  v.text = std::move(value);
  return v;
}

Value Value::Boolean(bool value) {
  Value v;
  v.kind = Kind::kBoolean;
  v.boolean = value;
  return v;
}

Value Value::Error(ErrorCode code) {
  Value v;
  v.kind = Kind::kError;
  v.error = code;
  return v;
}

Value Value::Reference(std::vector<Area> areas, bool array_class) {
  Value v;
  v.kind = Kind::kReference;
  v.areas = std::move(areas);
  v.array_class = array_class;
  return v;
}

Value Value::FromArray(Array array) {
  Value v;
  v.kind = Kind::kArray;
  v.array = std::make_shared<const Array>(std::move(array));
  return v;
}

Value Value::FunctionName(std::u16string name) {
  Value v;
  v.kind = Kind::kFunctionName;
  v.text = std::move(name);
  return v;
}

biff::CellValue StoredForm(const Value& value) {
  switch (value.kind) {
    case Value::Kind::kNumber:
      return biff::CellValue::Number(value.number);
    case Value::Kind::kText:
      return biff::CellValue::String(value.text);
    case Value::Kind::kBoolean:
      return biff::CellValue::Boolean(value.boolean);
    case Value::Kind::kError:
      return biff::CellValue::Error(value.error);
    default:
      return biff::CellValue::Number(0);
  }
}

}  // namespace xls::formula
