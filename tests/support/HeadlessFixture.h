// A clean headless desktop for each test: no queued messages, answers or records.
#pragma once
#include <gtest/gtest.h>

#include "framework/headless/Clock.h"
#include "framework/headless/Headless.h"

class HeadlessTest : public ::testing::Test {
protected:
  void SetUp() override { Headless::Reset(); }
  void TearDown() override { Headless::Reset(); }
};

#define EXPECT_THROW_MSG(stmt, type, text)                  \
  do {                                                      \
    try {                                                   \
      stmt;                                                 \
      ADD_FAILURE() << "no exception from " #stmt;          \
    } catch (const type& e) {                               \
      EXPECT_EQ(std::string(e.what()), std::string(text));  \
    }                                                       \
  } while (0)
