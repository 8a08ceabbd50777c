#include "xls/formula/lookup_line.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "xls/formula/coercion.h"
#include "xls/formula/context.h"
#include "xls/formula/criteria.h"

namespace xls::formula {

namespace {

std::u16string Folded(const std::u16string& text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = base::AsciiUpper(c);
  return folded;
}

bool HasWildcards(const std::u16string& text) {
  return text.find_first_of(u"*?~") != std::u16string::npos;
}

// Orders two values of one kind (numbers, texts, booleans).
int Compare(const Value& a, const Value& b) {
  switch (a.kind) {
    case Value::Kind::kNumber:
      return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    case Value::Kind::kText:
      return CompareTexts(a.text, b.text);
    case Value::Kind::kBoolean:
      return static_cast<int>(a.boolean) - static_cast<int>(b.boolean);
    default:
      return 0;
  }
}

}  // namespace

LookupLine::LookupLine(std::vector<Value> values) : values_(std::move(values)) {}

void LookupLine::Index() const {
  if (indexed_) return;
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const Value& value = values_[i];
    switch (value.kind) {
      case Value::Kind::kNumber:
        first_number_.try_emplace(value.number + 0.0, i);
        numbers_.push_back(i);
        break;
      case Value::Kind::kText:
        first_text_.try_emplace(Folded(value.text), i);
        texts_.push_back(i);
        break;
      case Value::Kind::kBoolean: {
        std::optional<std::size_t>& first = value.boolean ? first_true_ : first_false_;
        if (!first) first = i;
        booleans_.push_back(i);
        break;
      }
      default:
        break;
    }
  }
  indexed_ = true;
}

const std::vector<std::size_t>* LookupLine::PositionsOfKind(Value::Kind kind) const {
  Index();
  switch (kind) {
    case Value::Kind::kNumber:
      return &numbers_;
    case Value::Kind::kText:
      return &texts_;
    case Value::Kind::kBoolean:
      return &booleans_;
    default:
      return nullptr;
  }
}

std::optional<std::size_t> LookupLine::FindExact(const Value& wanted, bool wildcards) const {
  Index();
  switch (wanted.kind) {
    case Value::Kind::kNumber:
      if (const auto found = first_number_.find(wanted.number + 0.0);
          found != first_number_.end()) {
        return found->second;
      }
      return std::nullopt;
    case Value::Kind::kText: {
      if (wildcards && HasWildcards(wanted.text)) {
        // "=" keeps a pattern such as "<5" from being read as a comparison.
        const Criterion criterion(Value::Text(u"=" + wanted.text));
        for (const std::size_t i : texts_) {
          if (criterion.Matches(values_[i])) return i;
        }
        return std::nullopt;
      }
      if (const auto found = first_text_.find(Folded(wanted.text)); found != first_text_.end()) {
        return found->second;
      }
      return std::nullopt;
    }
    case Value::Kind::kBoolean:
      return wanted.boolean ? first_true_ : first_false_;
    default:
      return std::nullopt;
  }
}

std::optional<std::size_t> LookupLine::FindLastNotAbove(const Value& wanted) const {
  const std::vector<std::size_t>* positions = PositionsOfKind(wanted.kind);
  if (positions == nullptr) return std::nullopt;
  const auto end = std::partition_point(positions->begin(), positions->end(), [&](std::size_t i) {
    return Compare(values_[i], wanted) <= 0;
  });
  if (end == positions->begin()) return std::nullopt;
  return *(end - 1);
}

std::optional<std::size_t> LookupLine::FindLastNotBelow(const Value& wanted) const {
  const std::vector<std::size_t>* positions = PositionsOfKind(wanted.kind);
  if (positions == nullptr) return std::nullopt;
  const auto end = std::partition_point(positions->begin(), positions->end(), [&](std::size_t i) {
    return Compare(values_[i], wanted) >= 0;
  });
  if (end == positions->begin()) return std::nullopt;
  return *(end - 1);
}

const LookupLine& LookupLines::Line(const Area& line, Context& context) {
  const Key key{line.sheet, line.first_row, line.last_row, line.first_column, line.last_column};
  if (const auto found = lines_.find(key); found != lines_.end()) return *found->second;
  const bool vertical = line.first_column == line.last_column;
  std::vector<Value> values;
  context.ForEachCell(line, [&](biff::CellAddress cell, const Value& value) {
    const std::size_t i = vertical ? cell.row - line.first_row : cell.column - line.first_column;
    if (values.size() <= i) values.resize(i + 1);
    values[i] = value;
  });
  auto built = std::make_unique<LookupLine>(std::move(values));
  const LookupLine& result = *built;
  lines_.emplace(key, std::move(built));
  return result;
}

}  // namespace xls::formula
