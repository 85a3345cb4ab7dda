#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <random>
#include <tuple>

#include "framework/rtl/SysUtils.h"
#include "tests/framework/rtl/RtlTest.h"

using FloatFormatTest = RtlTest;

// Fixed-point while the decimal exponent lies in -4 <= x < 15, else scientific without "+".
TEST_F(FloatFormatTest, FloatToStrGeneral) {
  ExpectPairs<double>({{1.0 / 3, "0.333333333333333"}, {2.0 / 3, "0.666666666666667"}, {0.1 + 0.2, "0.3"},
                       {100, "100"}, {-1.5, "-1.5"}, {-0.0, "0"}, {999999999999999.0, "999999999999999"},
                       {1e15, "1E15"}, {123456789012345678.0, "1.23456789012346E17"}, {0.0001, "0.0001"},
                       {0.00001, "1E-5"}, {1.5e-5, "1.5E-5"}, {9.9999999999999999, "10"}, {INFINITY, "INF"},
                       {-INFINITY, "-INF"}, {NAN, "NAN"}, {DBL_MAX, "1.79769313486232E308"}},
                      [](double V) { return FloatToStr(V); });
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(2.5), "2,5");
}

// Rounding is half away from zero on the decimal digits, unlike printf.
TEST_F(FloatFormatTest, FloatToStrFFormatsAndRounding) {
  ExpectPairs<double>({{0.125, "0.13"}, {1.005, "1.00"} /* 1.00499999... */,
                       {-0.001, "0.00"}, {999.996, "1000.00"}, {1e20, "1E20"}},
                      [](double V) { return FloatToStrF(V, ffFixed, 15, 2); });
  EXPECT_EQ(FloatToStrF(2.5, ffFixed, 15, 0), "3");
  EXPECT_EQ(FloatToStrF(-2.5, ffFixed, 15, 0), "-3");
  EXPECT_EQ(FloatToStrF(1234.5678, ffNumber, 15, 2), "1,234.57");
  EXPECT_EQ(FloatToStrF(-1234567.0, ffNumber, 15, 0), "-1,234,567");
  EXPECT_EQ(FloatToStrF(1234.5678, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(0, ffExponent, 3, 0), "0.00E+0");
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

  // Literals, digit groups, and a value the section rounds to zero shown by the zero section.
  const std::vector<std::tuple<const char*, double, const char*>> More = {
      {"'Total: '#,##0", 1234567, "Total: 1,234,567"}, {"\"$\"0.00", 5, "$5.00"}, {"'a;b'0", 5, "a;b5"},
      {"00-00", 1234, "12-34"}, {"000", 7, "007"}, {"0.0#", 1.5, "1.5"}, {".00", 12.5, "12.50"},
      {"0.0;(0.0);'nil'", -0.01, "nil"}, {"0.0;(0.0)", -0.01, "0.0"}, {"0.00", INFINITY, "INF"}};
  for (const auto& [Fmt, Value, Out] : More) EXPECT_EQ(FormatFloat(Fmt, Value), Out) << Fmt;
  FormatSettings.DecimalSeparator = ',';
  FormatSettings.ThousandSeparator = '.';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
}

TEST_F(FloatFormatTest, StrToFloat) {
  ExpectPairs<std::string, double>(
      {{"1.5", 1.5}, {" -2.5e3 ", -2500}, {"+3", 3}, {"1.", 1}, {".5", 0.5}, {"1E-400", 0},
       // The largest double as FloatToStr writes it lies above the double and reads as it.
       {"1.79769313486232E308", DBL_MAX}, {"-0.0179769313486232e310", -DBL_MAX}},
      [](const std::string& S) { return StrToFloat(S); });
  double V = 7;
  for (const char* Bad : {"", "1,5", "e5", "1e", "1e400", "1.5x", "--1", "INF", "1.797693134862321E308", "1.8e308"}) EXPECT_FALSE(TryStrToFloat(Bad, V)) << Bad;
  EXPECT_EQ(V, 7);
  EXPECT_THROW_MSG(StrToFloat("1,5"), EConvertError, "'1,5' is not a valid floating point value");
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(StrToFloat("1,5"), 1.5);
  EXPECT_FALSE(TryStrToFloat("1.5", V));
}

// Plain decimals are read by a short exact path; whatever their length, leading zeros or sign,
// they read as the C library's correctly rounded conversion, bit for bit.
TEST_F(FloatFormatTest, PlainDecimalsReadAsTheLibraryConverts) {
  std::vector<std::string> Texts = {"0", "-0", "-0.000", "+7", "1.", ".5", "0.1", "9999999999999999999",
                                    "18446744073709551615", "99999999999999999999.5", "0.000000000000000000000000001",
                                    "0.0000000000000000000000000001", "123456789012345.6", "9007199254740993"};
  std::mt19937_64 Random(20261206);
  for (int I = 0; I < 20000; ++I) {
    std::string T = I % 3 == 0 ? "-" : "";
    const int Whole = static_cast<int>(Random() % 22), Fraction = static_cast<int>(Random() % 31);
    for (int D = 0; D < Whole; ++D) T += static_cast<char>('0' + Random() % 10);
    if (Fraction > 0 || Whole == 0) T += '.';
    for (int D = 0; D < Fraction || (Whole == 0 && D == 0); ++D) T += static_cast<char>('0' + Random() % 10);
    Texts.push_back(T);
  }
  for (const std::string& T : Texts) {
    long double Long = 7;
    ASSERT_TRUE(TryStrToFloat(T, Long)) << T;
    const long double LongWanted = std::strtold(T.c_str(), nullptr);
    EXPECT_TRUE(Long == LongWanted && std::signbit(Long) == std::signbit(LongWanted)) << T;
    double Short = 7, ShortWanted = 0;
    ASSERT_TRUE(TryStrToFloat(T, Short)) << T;
    std::from_chars(T.data() + (T[0] == '+'), T.data() + T.size(), ShortWanted);
    EXPECT_TRUE(Short == ShortWanted && std::signbit(Short) == std::signbit(ShortWanted)) << T;
  }
}
