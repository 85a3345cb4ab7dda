// Shared by the runtime-library tests: every test starts from the headless locale and leaves
// it as it found it, so a test may change FormatSettings freely.
#pragma once
#include <gtest/gtest.h>

#include "tests/support/ExpectThrowMsg.h"

#include <string>
#include <utility>
#include <vector>

#include "framework/rtl/Locale.h"

class RtlTest : public ::testing::Test {
protected:
  void SetUp() override { FormatSettings = SystemFormatSettings(); }
  void TearDown() override { FormatSettings = SystemFormatSettings(); }
};

// Checks Fn on every input/output pair, naming the input of a failing one.
template <class In, class Out = std::string, class F>
void ExpectPairs(const std::vector<std::pair<In, Out>>& Pairs, F Fn) {
  for (const auto& [Input, Output] : Pairs) EXPECT_EQ(Fn(Input), Output) << Input;
}
