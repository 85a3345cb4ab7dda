#include <gtest/gtest.h>

#include "engine/VLMXText.h"

namespace {

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
