#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/fieldcut.h"
#include "core/routines.h"
#include "core/tens.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

// A field left-justified in 11 columns.
std::string fld(std::string s) {
  s.resize(11, ' ');
  return s;
}

class FieldsTest : public ::testing::Test {
 protected:
  FieldsTest() { c.files.lst.open_memory(); }

  // in9 of a field, with what it wrote to the terminal.
  std::pair<double, std::string> read_real(const std::string& field) {
    double x = -999;
    ::testing::internal::CaptureStdout();
    in9(c, x, field);
    return {x, ::testing::internal::GetCapturedStdout()};
  }

  RecordingDevice dev;
  Core c{dev};
};

TEST_F(FieldsTest, RealFieldsReadSilently) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"", 0.0},
      {"1.5", 1.5},
      {"-12", -12.0},
      {"+.5", 0.5},
      {".", 0.0},
      {"5.", 5.0},
      {"1.5E3", 1500.0},
      {"1.5e3", 1500.0},
      {"1.5D3", 1500.0},
      {"1.5d3", 1500.0},
      {"1.5+3", 1500.0},
      {"1.5 E 3", 1500.0},
      {"1.5 -3", 1.5e-3},
      {"1.2345-6", 12345 * tens(-10)},
      {"0.0001", 1 / tens(4)},
      {"E5", 0.0},
      {"          -", 0.0},
      {"1.2.3", 12.3},
      {"2.500", 2.5},
      {"1.0E-99", tens(-99)},
      {"   12", 12.0},
      {"1.5E", 1.5},
      {"1.5E-", 1.5},
      {"12345678901", 12345678901.0},
  };
  for (const auto& [text, want] : cases) {
    const auto [x, out] = read_real(fld(text));
    EXPECT_EQ(x, want) << "field '" << text << "'";
    EXPECT_EQ(out, "") << "field '" << text << "'";
  }
  // A lone minus sign gives a negative zero.
  EXPECT_TRUE(std::signbit(read_real(fld("-")).first));
}

TEST_F(FieldsTest, RealFieldErrorsAreMarkedAndReadAsZero) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"12 34", 4},     // digit after a blank: marked under the 3
      {"1.5E3X", 5},    // bad exponent: marked where its digits begin
      {"1.5Q", 4},      // marked under the Q
      {"1.5E-99", 6},   // exponent -100 after the decimals
      {"1E100", 3},     // exponent out of range
      {"1.5E-9X9", 6},  // after a signed letter, digits begin past the sign
      {"1.5-1A", 5},
      {"E1234567890", 2},  // ten exponent digits: out of range, no overflow
  };
  for (const auto& [text, mark] : cases) {
    const auto [x, out] = read_real(fld(text));
    std::string marker(11, ' ');
    marker[static_cast<std::size_t>(mark - 1)] = '*';
    EXPECT_EQ(x, 0.0) << text;
    EXPECT_EQ(out, std::string(" ").append(fld(text)) + "\n " + marker +
                       "\n ERROR in Input Data...Translated as 0.\n")
        << text;
  }
  // A NUL byte is just another unreadable character, shown as read.
  std::string nul = fld("1");
  nul[1] = '\0';
  const auto [x, out] = read_real(nul);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(out.substr(0, 13), std::string(" 1\0         \n", 13));
  EXPECT_EQ(c.files.lst.text(), "");  // in9 never writes to the listing
}

TEST_F(FieldsTest, PowersOfTenAreRunningProductsNotCorrectlyRounded) {
  // The same running products and quotients, built at run time.
  std::vector<double> run(199);
  volatile double ten = 10.0;
  run[99] = 1.0;
  for (int k = 1; k <= 99; ++k) {
    run[99 + k] = run[98 + k] * ten;
    run[99 - k] = run[100 - k] / ten;
  }
  int differ = 0;
  for (int e = -99; e <= 99; ++e) {
    EXPECT_EQ(tens(e), run[static_cast<std::size_t>(99 + e)]) << e;
    const std::string text = "1e" + std::to_string(e);
    const double exact = std::strtod(text.c_str(), nullptr);
    if (tens(e) != exact) {
      ++differ;
      if (e <= -23) continue;
    } else {
      EXPECT_GT(e, -23) << "entry " << e << " should be off";
    }
  }
  EXPECT_EQ(differ, 145);
  // A point divides, an exponent multiplies: the two may differ.
  EXPECT_EQ(read_real(fld("0.3")).first, 0.3);
  EXPECT_EQ(read_real(fld("0.3E0")).first, 0.30000000000000004);
}

TEST_F(FieldsTest, IntegerFields) {
  const std::vector<std::pair<std::string, int>> good = {
      {"", 0},
      {"42", 42},
      {"+42", 42},
      {"   -42", -42},
      {"-", 0},
      {"-    ", 0},
      {"2147483647", 2147483647},
      {"-2147483647", -2147483647},
      {"       42  ", 42},
  };
  for (const auto& [text, want] : good) {
    int n = -1;
    intger(c, n, fld(text));
    EXPECT_EQ(n, want) << text;
  }
  EXPECT_EQ(c.files.lst.text(), "");

  const std::vector<std::pair<std::string, int>> bad = {
      {"4 2", 3},
      {"4.0", 2},
      {"          -", 11},  // a sign in the last column
      {"- 5", 3},
      {"2147483648", 10},  // past the 32-bit range: marked at the digit
      {"-2147483648", 11},
      {"99999999999", 10},
  };
  for (const auto& [text, mark] : bad) {
    c.files.lst.open_memory();
    int n = -1;
    intger(c, n, fld(text));
    std::string marker(11, ' ');
    marker[static_cast<std::size_t>(mark - 1)] = '*';
    EXPECT_EQ(n, 0) << text;
    EXPECT_EQ(c.files.lst.text(), " Subroutine INTGER ERROR \n " + fld(text) +
                                      "\n " + marker + "\n Translated as 0\n")
        << text;
  }
}

TEST_F(FieldsTest, FieldsCutFromShortRecordsArePadded) {
  const std::string rec = "  1.5      2.25";
  EXPECT_EQ(std::string_view(cut_field(rec, 1)), "  1.5      ");
  EXPECT_EQ(std::string_view(cut_field(rec, 12)), "2.25       ");
  EXPECT_EQ(std::string_view(cut_field(rec, 34)), std::string(11, ' '));
  // A 4-column field is right-aligned behind blanks.
  EXPECT_EQ(std::string_view(cut_field("abcdefgh  12", 9, 12)), "         12");
  std::string text = "old";
  cut_text(text, "TITLE", 1, 8);
  EXPECT_EQ(text, "TITLE   ");
}

TEST_F(FieldsTest, TextRoutines) {
  std::string t = "   AB C   ";
  int L = -1, LVIS = -1;
  lefty(c, t, L, LVIS, 10);
  EXPECT_EQ(t, "AB C      ");
  EXPECT_EQ(L, 4);
  EXPECT_EQ(LVIS, 4);

  std::string blank(10, ' ');
  lefty(c, blank, L, LVIS, 10);
  EXPECT_EQ(blank, std::string(10, ' '));
  EXPECT_EQ(L, 0);
  EXPECT_EQ(LVIS, 0);

  // Control characters of the loaded font do not count for printing.
  c.ft.NALT = 2;
  c.ft.SYMCHR(257) = '^';
  c.ft.SYMCHR(258) = '_';
  std::string x2 = " x^2 ";
  lefty(c, x2, L, LVIS, 5);
  EXPECT_EQ(x2, "x^2  ");
  EXPECT_EQ(L, 3);
  EXPECT_EQ(LVIS, 2);

  EXPECT_EQ(length(std::string(10, ' '), 10), 0);
  EXPECT_EQ(length("AB        ", 10), 2);
  EXPECT_EQ(length("AB", 0), 0);

  std::string a = "AB        ";
  int la = 2;
  concat(a, la, " (", 0);
  EXPECT_EQ(a, "AB        ");
  EXPECT_EQ(la, 2);
  concat(a, la, " (", 2);
  concat(a, la, "cm", 2);
  concat(a, la, ")", 1);
  EXPECT_EQ(a, "AB (cm)   ");
  EXPECT_EQ(la, 7);
  // Appending stops at the end of the text instead of overrunning it.
  concat(a, la, "123456", 6);
  EXPECT_EQ(a, "AB (cm)123");
  EXPECT_EQ(la, 10);
}

}  // namespace
}  // namespace veskaro
