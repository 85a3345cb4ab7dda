// Shared by the runtime-library tests: every test starts from the headless locale and leaves
// it as it found it, so a test may change FormatSettings freely.
#pragma once
#include <gtest/gtest.h>

#include "tests/support/ExpectThrowMsg.h"

#include <string>

#include "framework/rtl/Locale.h"

class RtlTest : public ::testing::Test {
protected:
  void SetUp() override { FormatSettings = SystemFormatSettings(); }
  void TearDown() override { FormatSettings = SystemFormatSettings(); }
};

