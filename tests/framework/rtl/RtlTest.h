// Shared by the runtime-library tests: every test starts from the headless locale and leaves
// it as it found it, so a test may change FormatSettings freely.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "framework/rtl/Locale.h"

class RtlTest : public ::testing::Test {
protected:
  void SetUp() override { FormatSettings = SystemFormatSettings(); }
  void TearDown() override { FormatSettings = SystemFormatSettings(); }
};

#ifndef EXPECT_THROW_MSG
#define EXPECT_THROW_MSG(stmt, type, text)                 \
  do {                                                     \
    try {                                                  \
      stmt;                                                \
      ADD_FAILURE() << "no exception from " #stmt;         \
    } catch (const type& e) {                              \
      EXPECT_EQ(std::string(e.what()), std::string(text)); \
    }                                                      \
  } while (0)
#endif
