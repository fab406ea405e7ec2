#include "settings/store_value.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

// A number at the edges of the types' ranges, and what it reads as.
struct EdgeCase {
  const char* text;
  std::optional<int64_t> integer;
  std::optional<float> real;
  std::optional<bool> boolean;
};

class NumberEdgeTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(NumberEdgeTest, ReadsAsEachTypeByItsRule) {
  const EdgeCase& c = GetParam();
  EXPECT_EQ(integerFromText(c.text), c.integer);
  const auto real = floatFromText(c.text);
  ASSERT_EQ(real.has_value(), c.real.has_value());
  if (real) {
    EXPECT_EQ(*real, *c.real);
    EXPECT_EQ(std::signbit(*real), std::signbit(*c.real)) << "the sign of a zero";
  }
  EXPECT_EQ(boolFromText(c.text), c.boolean);
}

constexpr int64_t kMinInteger = std::numeric_limits<int64_t>::min();

INSTANTIATE_TEST_SUITE_P(Edges, NumberEdgeTest,
                         ::testing::Values(
                             // Too near 0 for a float, and for a double: 0, but not 0 as a boolean.
                             EdgeCase{"1e-50", 0, 0.0f, true}, EdgeCase{"1e-400", 0, 0.0f, true},
                             EdgeCase{"-1e-400", 0, -0.0f, true}, EdgeCase{"1e-320", 0, 0.0f, true},
                             EdgeCase{"0e-999", 0, 0.0f, false}, EdgeCase{"1.4e-45", 0, 0x1p-149f, true},
                             EdgeCase{"0.8e-45", 0, 0x1p-149f, true}, EdgeCase{"0.7e-45", 0, 0.0f, true},
                             // About the largest float: rounding to the nearest float gives the
                             // largest finite one below the point halfway to 2^128
                             // (3.4028235677973366e38) and an infinity from it on, which is refused.
                             EdgeCase{"3.4028235e38", std::nullopt, FLT_MAX, true},
                             EdgeCase{"3.40282356e38", std::nullopt, FLT_MAX, true},
                             EdgeCase{"-3.40282356e38", std::nullopt, -FLT_MAX, true},
                             EdgeCase{"3.4028236e38", std::nullopt, std::nullopt, true},
                             EdgeCase{"-3.4028236e38", std::nullopt, std::nullopt, true},
                             EdgeCase{"1e39", std::nullopt, std::nullopt, true},
                             // Beyond a double: no value of any type, as an infinity is none.
                             EdgeCase{"1e999", std::nullopt, std::nullopt, std::nullopt},
                             EdgeCase{"-1e999", std::nullopt, std::nullopt, std::nullopt},
                             EdgeCase{"0e999", 0, 0.0f, false},
                             // The integers' ends.
                             EdgeCase{"-9223372036854775808", kMinInteger, -0x1p63f, true},
                             EdgeCase{"9223372036854775808", std::nullopt, 0x1p63f, true},
                             EdgeCase{"-9.3e18", std::nullopt, -9.3e18f, true},
                             EdgeCase{"9.2e18", 9200000000000000000, 9.2e18f, true}));

}  // namespace
