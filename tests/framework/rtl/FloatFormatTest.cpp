#include <cmath>

#include "framework/rtl/SysUtils.h"
#include "tests/framework/rtl/RtlTest.h"

using FloatFormatTest = RtlTest;

// The general format is fixed-point while the decimal exponent x (value = d.ddd * 10^x) lies
// in -4 <= x < precision, scientific otherwise, with no "+" and no leading zeros in the
// exponent: 0.0001 stays "0.0001", 0.00001 becomes "1E-5"; 15 digits stay fixed, a 16th
// integer digit switches to "1E15".
TEST_F(FloatFormatTest, FloatToStrGeneral) {
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(FloatToStr(-1.5), "-1.5");
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(123456789012345678.0), "1.23456789012346E17");
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(FloatToStr(1.5e-5), "1.5E-5");
  EXPECT_EQ(FloatToStr(9.9999999999999999), "10");
  EXPECT_EQ(FloatToStr(INFINITY), "INF");
  EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
  EXPECT_EQ(FloatToStr(NAN), "NAN");
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(2.5), "2,5");
}

// Rounding is half away from zero on the decimal digits, unlike printf.
TEST_F(FloatFormatTest, FloatToStrFFormatsAndRounding) {
  EXPECT_EQ(FloatToStrF(0.125, ffFixed, 15, 2), "0.13");
  EXPECT_EQ(FloatToStrF(2.5, ffFixed, 15, 0), "3");
  EXPECT_EQ(FloatToStrF(-2.5, ffFixed, 15, 0), "-3");
  EXPECT_EQ(FloatToStrF(1.005, ffFixed, 15, 2), "1.00");  // 1.00499999999999989...
  EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2), "0.00");
  EXPECT_EQ(FloatToStrF(999.996, ffFixed, 15, 2), "1000.00");
  EXPECT_EQ(FloatToStrF(1234.5678, ffNumber, 15, 2), "1,234.57");
  EXPECT_EQ(FloatToStrF(-1234567.0, ffNumber, 15, 0), "-1,234,567");
  EXPECT_EQ(FloatToStrF(1234.5678, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(0, ffExponent, 3, 0), "0.00E+0");
  EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), "1E20");
}

TEST_F(FloatFormatTest, CurrencyLayouts) {
  FormatSettings.CurrencyString = "EUR";
  const struct { int Format; const char* Positive; } Pos[] = {
      {0, "EUR1,234.50"}, {1, "1,234.50EUR"}, {2, "EUR 1,234.50"}, {3, "1,234.50 EUR"}};
  for (const auto& C : Pos) {
    FormatSettings.CurrencyFormat = static_cast<unsigned char>(C.Format);
    EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2), C.Positive) << C.Format;
  }
  const char* Negative[16] = {"(EUR1.5)",  "-EUR1.5",  "EUR-1.5",   "EUR1.5-",
                              "(1.5EUR)",  "-1.5EUR",  "1.5-EUR",   "1.5EUR-",
                              "-1.5 EUR",  "-EUR 1.5", "1.5 EUR-",  "EUR 1.5-",
                              "EUR -1.5",  "1.5- EUR", "(EUR 1.5)", "(1.5 EUR)"};
  for (int F = 0; F < 16; ++F) {
    FormatSettings.NegCurrFormat = static_cast<unsigned char>(F);
    EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 1), Negative[F]) << F;
  }
}

TEST_F(FloatFormatTest, FormatFloatPictures) {
  const struct { const char* Fmt; const char* Out[4]; } Cases[] = {
      {"0", {"1234", "-1234", "1", "0"}},
      {"0.00", {"1234.00", "-1234.00", "0.50", "0.00"}},
      {"#.##", {"1234", "-1234", ".5", ""}},
      {"#,##0.00", {"1,234.00", "-1,234.00", "0.50", "0.00"}},
      {"#,##0.00;(#,##0.00)", {"1,234.00", "(1,234.00)", "0.50", "0.00"}},
      {"#,##0.00;;Zero", {"1,234.00", "-1,234.00", "0.50", "Zero"}},
      {"0.000E+00", {"1.234E+03", "-1.234E+03", "5.000E-01", "0.000E+00"}},
      {"#.###E-0", {"1.234E3", "-1.234E3", "5E-1", "0E0"}},
      {"", {"1234", "-1234", "0.5", "0"}},
  };
  const double Values[4] = {1234, -1234, 0.5, 0};
  for (const auto& C : Cases)
    for (int I = 0; I < 4; ++I) EXPECT_EQ(FormatFloat(C.Fmt, Values[I]), C.Out[I]) << C.Fmt;

  EXPECT_EQ(FormatFloat("'Total: '#,##0", 1234567), "Total: 1,234,567");
  EXPECT_EQ(FormatFloat("\"$\"0.00", 5), "$5.00");
  EXPECT_EQ(FormatFloat("'a;b'0", 5), "a;b5");
  EXPECT_EQ(FormatFloat("00-00", 1234), "12-34");
  EXPECT_EQ(FormatFloat("000", 7), "007");
  EXPECT_EQ(FormatFloat("0.0#", 1.5), "1.5");
  EXPECT_EQ(FormatFloat(".00", 12.5), "12.50");
  // A value the section rounds to zero is shown by the zero section.
  EXPECT_EQ(FormatFloat("0.0;(0.0);'nil'", -0.01), "nil");
  EXPECT_EQ(FormatFloat("0.0;(0.0)", -0.01), "0.0");
  EXPECT_EQ(FormatFloat("0.00", INFINITY), "INF");
  FormatSettings.DecimalSeparator = ',';
  FormatSettings.ThousandSeparator = '.';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
}

TEST_F(FloatFormatTest, StrToFloat) {
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_EQ(StrToFloat(" -2.5e3 "), -2500);
  EXPECT_EQ(StrToFloat("+3"), 3);
  EXPECT_EQ(StrToFloat("1."), 1);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("1E-400"), 0);
  double V = 7;
  for (const char* Bad : {"", "1,5", "e5", "1e", "1e400", "1.5x", "--1", "INF"}) {
    EXPECT_FALSE(TryStrToFloat(Bad, V)) << Bad;
  }
  EXPECT_EQ(V, 7);
  EXPECT_THROW_MSG(StrToFloat("1,5"), EConvertError, "'1,5' is not a valid floating point value");
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(StrToFloat("1,5"), 1.5);
  EXPECT_FALSE(TryStrToFloat("1.5", V));
}
