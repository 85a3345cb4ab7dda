#include <cmath>
#include <cstdint>

#include "framework/rtl/SysUtils.h"
#include "tests/framework/rtl/RtlTest.h"

using FormatTest = RtlTest;

TEST_F(FormatTest, DefaultPrecisions) {
  EXPECT_EQ(Format("%f", {1.5}), "1.50");
  EXPECT_EQ(Format("%F inches", {0.25}), "0.25 inches");
  EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
  EXPECT_EQ(Format("%m", {1234.5}), "$1,234.50");
  EXPECT_EQ(Format("%m", {-1234.5}), "($1,234.50)");
  EXPECT_EQ(Format("%e", {1234.56789}), "1.23456789000000E+003");
  EXPECT_EQ(Format("%e", {-0.00012}), "-1.20000000000000E-004");
  EXPECT_EQ(Format("%g", {1.0 / 3}), "0.333333333333333");
  EXPECT_EQ(Format("%g", {1e20}), "1E020");
  FormatSettings.CurrencyDecimals = 0;
  EXPECT_EQ(Format("%m|%.1m", {1234.5, 1234.5}), "$1,235|$1,234.5");
}

TEST_F(FormatTest, WidthPrecisionAndJustification) {
  EXPECT_EQ(Format("%.3d", {7}), "007");
  EXPECT_EQ(Format("%.3d", {-5}), "-005");
  EXPECT_EQ(Format("%5d|%-5d|", {42, 42}), "   42|42   |");
  EXPECT_EQ(Format("%7.2f", {3.14159}), "   3.14");
  EXPECT_EQ(Format("%7.2F", {-1234.5}), "-1234.50");
  EXPECT_EQ(Format("%-5s|", {"ab"}), "ab   |");
  EXPECT_EQ(Format("%5s|", {std::string("ab")}), "   ab|");
  EXPECT_EQ(Format("%.2s", {"abcdef"}), "ab");
  EXPECT_EQ(Format("%*d", {4, 42}), "  42");
  EXPECT_EQ(Format("%-*.*f|", {8, 1, 2.25}), "2.3     |");
  EXPECT_EQ(Format("%d %s (%3.0f%%)", {3, "rows", 45.5}), "3 rows ( 46%)");
  EXPECT_EQ(Format("%.0f", {0.0}), "0");
  EXPECT_EQ(Format("%f", {INFINITY}), "INF");
}

TEST_F(FormatTest, IntegerKinds) {
  EXPECT_EQ(Format("%d", {INT32_MIN}), "-2147483648");
  EXPECT_EQ(Format("%d", {int64_t{-9000000000}}), "-9000000000");
  EXPECT_EQ(Format("%d", {3000000000u}), "3000000000");
  EXPECT_EQ(Format("%s%s", {'x', static_cast<const char*>(nullptr)}), "x");
}

TEST_F(FormatTest, ArgumentIndex) {
  EXPECT_EQ(Format("%0:s %0:s", {"ab"}), "ab ab");
  EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
  EXPECT_EQ(Format("%s %% %s", {"a", "b"}), "a % b");
  EXPECT_EQ(Format("no args", {}), "no args");
}

TEST_F(FormatTest, MismatchesRaiseConvertError) {
  EXPECT_THROW_MSG(Format("abc %d", {1.5}), EConvertError,
                   "Format 'abc %d' invalid or incompatible with argument");
  EXPECT_THROW_MSG(Format("%f", {1}), EConvertError,
                   "Format '%f' invalid or incompatible with argument");
  EXPECT_THROW_MSG(Format("%s", {true}), EConvertError,
                   "Format '%s' invalid or incompatible with argument");
  EXPECT_THROW_MSG(Format("%z", {1}), EConvertError,
                   "Format '%z' invalid or incompatible with argument");
  EXPECT_THROW_MSG(Format("abc %", {1}), EConvertError,
                   "Format 'abc %' invalid or incompatible with argument");
  EXPECT_THROW_MSG(Format("%*d", {"x", 1}), EConvertError,
                   "Format '%*d' invalid or incompatible with argument");
  EXPECT_THROW_MSG(Format("Page %d-%d", {1}), EConvertError,
                   "No argument for format 'Page %d-%d'");
  EXPECT_THROW_MSG(Format("%2:d", {1}), EConvertError, "No argument for format '%2:d'");
  // The message quotes only the first 31 characters.
  EXPECT_THROW_MSG(Format("0123456789012345678901234567890123456789 %d", {}), EConvertError,
                   "No argument for format '0123456789012345678901234567890'");
  // A typed width that would take gigabytes is refused, not attempted.
  EXPECT_THROW(Format("%999999999d", {1}), EConvertError);
  EXPECT_THROW(Format("%.999999999d", {1}), EConvertError);
  EXPECT_THROW(Format("%*d", {2000000000, 1}), EConvertError);
}
