// BIFF8's function table: numbers, names and arities a formula's tokens depend on, and the
// functions a file calls by name.
#include <gtest/gtest.h>

#include <set>

#include "xls/formula/builtin_functions.h"
#include "xls/formula/function_table.h"

namespace {

using xls::formula::BuiltinById;
using xls::formula::Builtins;
using xls::formula::FixedArity;
using xls::formula::FunctionName;
using xls::formula::NamedFunction;

TEST(BuiltinFunctions, NumberEveryFunctionOnceInOrder) {
  std::set<std::u16string_view> names;
  int previous = -1;
  for (const auto& function : Builtins()) {
    EXPECT_GT(function.id, previous) << "out of order at " << function.id;
    previous = function.id;
    EXPECT_TRUE(names.insert(function.name).second) << "twice: " << function.id;
    EXPECT_LE(function.min_arguments, function.max_arguments) << function.id;
  }
  // Every number up to RTD is a function, but those the format never used.
  const std::set<int> unused{202, 203, 217, 218, 223, 224, 225, 226, 249, 250, 255, 333};
  for (int id = 0; id <= 379; ++id) {
    EXPECT_EQ(BuiltinById(static_cast<std::uint16_t>(id)) == nullptr, unused.count(id) == 1) << id;
  }
}

TEST(BuiltinFunctions, GiveNamesAndFixedAritiesOfFunctionsNotComputed) {
  struct Case {
    std::uint16_t id;
    const char16_t* name;
    std::optional<int> arity;  // PtgFunc's argument count, nothing where PtgFuncVar counts
  };
  const Case cases[] = {
      {2, u"ISNA", 1},        {40, u"DCOUNT", 3},        {63, u"RAND", 0},    {119, u"REPLACE", 4},
      {124, u"FIND", {}},     {210, u"MIDB", 3},         {276, u"COMBIN", 2}, {283, u"FISHER", 1},
      {344, u"SUBTOTAL", {}}, {353, u"NUMBERSTRING", 2}, {379, u"RTD", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FunctionName(c.id), c.name) << c.id;
    EXPECT_EQ(FixedArity(c.id), c.arity) << c.id;
  }
  EXPECT_EQ(FunctionName(202), u"#202");
  EXPECT_EQ(BuiltinById(148)->is_volatile, true);  // INDIRECT
}

// The first rows of the format's function table as Microsoft documents them: number, name
// and the least and most arguments.
TEST(BuiltinFunctions, AgreeWithTheFormatsDocumentedTable) {
  struct Row {
    std::uint16_t id;
    const char16_t* name;
    int min_arguments;
    int max_arguments;
  };
  const Row rows[] = {
      {0, u"COUNT", 1, 30},  {1, u"IF", 1, 3},       {2, u"ISNA", 1, 1},   {3, u"ISERROR", 1, 1},
      {4, u"SUM", 1, 30},    {5, u"AVERAGE", 1, 30}, {6, u"MIN", 1, 30},   {7, u"MAX", 1, 30},
      {8, u"ROW", 0, 1},     {9, u"COLUMN", 0, 1},   {10, u"NA", 0, 0},    {11, u"NPV", 2, 30},
      {12, u"STDEV", 1, 30}, {13, u"DOLLAR", 1, 2},  {14, u"FIXED", 1, 3}, {15, u"SIN", 1, 1},
      {16, u"COS", 1, 1},    {17, u"TAN", 1, 1},     {18, u"ATAN", 1, 1},
  };
  for (const Row& row : rows) {
    const xls::formula::BuiltinFunction* function = BuiltinById(row.id);
    ASSERT_NE(function, nullptr) << row.id;
    EXPECT_EQ(function->name, row.name) << row.id;
    EXPECT_EQ(function->min_arguments, row.min_arguments) << row.id;
    EXPECT_EQ(function->max_arguments, row.max_arguments) << row.id;
  }
}

TEST(BuiltinFunctions, KnowFunctionsCalledByName) {
  EXPECT_EQ(NamedFunction(u"eomonth"), u"EOMONTH");          // Analysis ToolPak
  EXPECT_EQ(NamedFunction(u"_xlfn.COUNTIFS"), u"COUNTIFS");  // newer than the format
  EXPECT_EQ(NamedFunction(u"_XLFN.TEXTJOIN"), u"TEXTJOIN");
  EXPECT_EQ(NamedFunction(u"VLOOKUP"), u"VLOOKUP");  // numbered, called by name
  EXPECT_EQ(NamedFunction(u"MyMacro"), std::nullopt);
  EXPECT_EQ(NamedFunction(u"_xlfn."), std::nullopt);
}

}  // namespace
