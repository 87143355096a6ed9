#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/routines.h"

namespace veskaro {
namespace {

TEST(Out9, FixedAndExponentForms) {
  const std::vector<std::pair<double, std::string>> cases = {
      {1.5, " 1.50000000"},
      {-0.25, "-.250000000"},
      {12345.678, " 12345.6780"},
      {123456789.0, " 123456789."},
      {1.0e-5, " 1.00000D-5"},
      {-1.0e-5, "-1.00000D-5"},
      {1.2345678e-5, "1.234568D-5"},
      {-1.2345678e-5, "-1.23457D-5"},
      {3.0e12, " 3.0000D+12"},
      {-7.25e-12, "-7.2500D-12"},
      {1.0e9, " 1.00000D+9"},
      {0.0, " 0.0       "},
      // Near the bounds of the fixed form.
      {0.001, " .001000000"},
      {0.0009999, " 9.99900D-4"},
      {999999999.7, " 1.00000D+9"},
      {987654321.4, " 987654321."},
      {0.5, " .500000000"},
      {-123.456, "-123.456000"},
      // Two-digit exponents of both signs.
      {1.234567e50, "1.23457D+50"},
      {-1.0e-50, "-1.0000D-50"},
      {2.0e97, " 2.0000D+97"},
  };
  for (const auto& [z, want] : cases) {
    EXPECT_EQ(out9(z), want) << z;
    std::array<char, 11> f{};
    f.fill('#');
    out9(z, f);
    EXPECT_EQ(std::string(f.data(), f.size()), want) << z;
  }
}

TEST(Out9, ValuesItCannotShowGiveTheZeroField) {
  const std::string zeroh = " 0.0       ";
  for (const double z : {1.0e-100, -1.0e-100, 1.0e98, -1.0e98, 1.0e-98, 1.0e100,
                         std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), -0.0}) {
    EXPECT_EQ(out9(z), zeroh) << z;
  }
}

TEST(Numbr1, TextOfDrawnNumbers) {
  const std::vector<std::tuple<double, int, std::string>> cases = {
      {1.5, 1, "1.5"},
      {-0.25, 2, "-0.25"},
      {12345.678, 2, "12345.68"},
      {12.5, 0, "13."},
      {12.5, -1, "13"},
      {0.0, 2, "0.00"},
      {99.9996, 3, "100.000"},
      {3.0, -1, "3"},
      {-12.0, -1, "-12"},
      {-0.3, 0, "-0."},
      {-1.0e-9, 1, "-0.0"},
      {0.5, 1, "0.5"},
      {0.05, 3, "0.050"},
      {100.0, -1, "100"},
      // Beyond 32 bits the digits still come out right.
      {98765432109.0, 0, "98765432109."},
  };
  for (const auto& [z, ndec, want] : cases) {
    EXPECT_EQ(numbr1_text(z, ndec), want) << z << " " << ndec;
  }
  // An integer part of 12 digits or more, or a value past any integer,
  // draws nothing.
  EXPECT_EQ(numbr1_text(123456789012.0, 0), "");
  EXPECT_EQ(numbr1_text(1.0e30, 2), "");
  EXPECT_EQ(numbr1_text(std::numeric_limits<double>::quiet_NaN(), 1), "");
  EXPECT_EQ(numbr1_text(1.0, 40), "");
}

}  // namespace
}  // namespace veskaro
