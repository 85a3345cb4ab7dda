#include <gtest/gtest.h>

#include "engine/VLMXText.h"

namespace {

TEST(TextRoutines, PadJustifyFillsAndCutsByMode) {
  const struct { const char* S; int Width; unsigned char Mode; const char* Expected; } Cases[] = {
      {"ab", 5, 0, "ab   "},      {"ab", 5, 1, "   ab"},       {"ab", 5, 2, "  ab "},
      {"abc", 6, 2, "  abc "},    {"", 4, 2, "    "},         {"abcdefgh", 4, 0, "abcd"},
      {"abcdefgh", 4, 1, "abcd"}, {"abcdefgh", 4, 2, "abcd"}, {"a%sb", 6, 1, "  a%sb"},
      {"ab", 5, 3, "kept"},
  };
  for (const auto& C : Cases) {
    std::string Result = "kept";
    PadJustify(C.S, C.Width, C.Mode, Result);
    EXPECT_EQ(Result, C.Expected) << '"' << C.S << "\" " << C.Width << " mode " << int(C.Mode);
  }
}

TEST(TextRoutines, HasNoLettersNeedsTextWithoutAsciiLetters) {
  const std::pair<const char*, bool> Cases[] = {
      {"1,234.50", true}, {" -7 ", true}, {"$1.00", true}, {"n/a", false}, {"   ", false}, {"", false}, {"1E5", false}};
  for (auto [S, Expected] : Cases) EXPECT_EQ(HasNoLetters(S), Expected) << '"' << S << '"';
}

TEST(TextRoutines, ElapsedTimeStrChoosesHoursMinutesOrSeconds) {
  const std::pair<double, const char*> Cases[] = {
      {3725, "1:02:05 hours"}, {39599, "10:59:59 hours"}, {90000, "25:00:00 hours"}, {125.7, "2:05 minutes"},
      {60, "1:00 minutes"},    {3.25, "3.25 seconds"},    {0, "0.00 seconds"},
  };
  for (auto [Seconds, Expected] : Cases) {
    std::string Result;
    ElapsedTimeStr(Seconds / 86400.0, Result);
    EXPECT_EQ(Result, Expected) << Seconds;
  }
  std::string Result;  // the difference of two clock readings is no whole number of seconds
  ElapsedTimeStr(EncodeTime(11, 3, 5, 0) - EncodeTime(10, 1, 0, 0), Result);
  EXPECT_EQ(Result, "1:02:05 hours");
}

}  // namespace
