#include "framework/rtl/SysUtils.h"
#include "tests/framework/rtl/RtlTest.h"

using SysUtilsTest = RtlTest;

TEST_F(SysUtilsTest, StrToInt) {
  const struct { const char* Text; int Value; } Good[] = {
      {"123", 123},        {" -45", -45},         {"+7", 7},
      {"$FF", 255},        {"-$10", -16},         {"0x1A", 26},
      {"$FFFFFFFF", -1},   {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"007", 7},
  };
  for (const auto& C : Good) EXPECT_EQ(StrToInt(C.Text), C.Value) << C.Text;
  for (const char* Bad : {"abc", "", "12 ", "2147483648", "-2147483649", "-", "$", "1.5",
                          "$100000000", "1 2"}) {
    EXPECT_THROW_MSG(StrToInt(Bad), EConvertError,
                     std::string("'") + Bad + "' is not a valid integer value");
    EXPECT_EQ(StrToIntDef(Bad, -9), -9);
  }
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(int64_t{1} << 40), "1099511627776");
}

TEST_F(SysUtilsTest, TrimAndCase) {
  EXPECT_EQ(Trim(" \t a b \r\n\x01"), "a b");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // a no-break space is not trimmed
  EXPECT_EQ(UpperCase("abc\xE9"), "ABC\xE9");
  EXPECT_EQ(AnsiUpperCase("a\xE0\xE9\xFF\x9A\x9C\x9E\xF7\xDF"), "A\xC0\xC9\x9F\x8A\x8C\x8E\xF7\xDF");
}

TEST_F(SysUtilsTest, Comparisons) {
  // Ordinal: lower case sorts after upper case.
  EXPECT_GT(CompareStr("a", "B"), 0);
  EXPECT_LT(CompareText("a", "B"), 0);
  EXPECT_EQ(CompareText("ABC", "abc"), 0);
  EXPECT_NE(CompareStr("ABC", "abc"), 0);
  EXPECT_LT(CompareStr("ab", "abc"), 0);
  EXPECT_GT(CompareStr("\xE9", "z"), 0);  // bytes compare unsigned
  EXPECT_NE(CompareText("\xC9", "\xE9"), 0);
  EXPECT_EQ(AnsiCompareText("\xC9t\xC9", "\xE9T\xE9"), 0);
  EXPECT_TRUE(SameText("Vellumix", "VELLUMIX"));
  EXPECT_FALSE(SameText("Vellumix", "Vellumi"));
  EXPECT_TRUE(AnsiSameText("\xC4rger", "\xE4RGER"));
}

TEST_F(SysUtilsTest, SearchAndReplace) {
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", 0), "a+b-c");
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", rfReplaceAll), "a+b+c");
  EXPECT_EQ(StringReplace("Hello hello", "HELLO", "x", rfReplaceAll | rfIgnoreCase), "x x");
  EXPECT_EQ(StringReplace("aaa", "a", "aa", rfReplaceAll), "aaaaaa");
  EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");
  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("x", "abc"), 0);
  const std::pair<int, int> From[] = {{2, 3}, {0, 2}, {5, 100}, {7, 1}, {2, -1}};
  const char* const Copied[] = {"bcd", "ab", "ef", "", ""};
  for (int I = 0; I < 5; ++I) EXPECT_EQ(Copy("abcdef", From[I].first, From[I].second), Copied[I]) << I;
}

// Report ids draw their digits from it: always inside the range, never past it.
TEST_F(SysUtilsTest, RandomStaysInItsRange) {
  for (int I = 0; I < 1000; ++I) {
    const int R = Random(7);
    ASSERT_TRUE(R >= 0 && R < 7);
  }
  EXPECT_EQ(Random(0), 0);
}
