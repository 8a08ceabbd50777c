#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "xls/formula/value.h"

namespace xls::formula {

class Context;

// One row or column of values that lookups search, up to its last value that is not empty
// (a whole column holds as many values as the sheet has rows in use). Exact matches are
// found through a hash of its values, sorted matches by binary search, so that searching it
// again costs little.
class LookupLine {
 public:
  explicit LookupLine(std::vector<Value> values);

  std::size_t Size() const { return values_.size(); }
  const Value& At(std::size_t i) const { return values_[i]; }

  // The first position holding `wanted`: a number equal to it, a text equal without regard
  // to case (with * ? ~ as wildcards where `wildcards`), a boolean equal to it.
  std::optional<std::size_t> FindExact(const Value& wanted, bool wildcards) const;
  // Among the values of wanted's kind, taken as sorted rising: the last not above it
  // (VLOOKUP, LOOKUP, MATCH 1); taken as sorted falling: the last not below it (MATCH -1).
  std::optional<std::size_t> FindLastNotAbove(const Value& wanted) const;
  std::optional<std::size_t> FindLastNotBelow(const Value& wanted) const;

 private:
  void Index() const;
  const std::vector<std::size_t>* PositionsOfKind(Value::Kind kind) const;

  std::vector<Value> values_;
  mutable bool indexed_ = false;
  mutable std::unordered_map<double, std::size_t> first_number_;
  mutable std::unordered_map<std::u16string, std::size_t> first_text_;  // upper case
  mutable std::optional<std::size_t> first_true_;
  mutable std::optional<std::size_t> first_false_;
  mutable std::vector<std::size_t> numbers_;
  mutable std::vector<std::size_t> texts_;
  mutable std::vector<std::size_t> booleans_;
};

// The lines one calculation has searched, by sheet and cells: built once, when first
// searched, and dropped with the calculation, as the cells may change between two.
class LookupLines {
 public:
  // The values of a one-row or one-column area.
  const LookupLine& Line(const Area& line, Context& context);

 private:
  using Key = std::tuple<std::size_t, std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t>;
  std::map<Key, std::unique_ptr<LookupLine>> lines_;
};

}  // namespace xls::formula
