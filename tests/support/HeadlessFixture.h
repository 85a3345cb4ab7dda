// A clean headless desktop for each test: no queued messages, answers or records.
#pragma once
#include <gtest/gtest.h>

#include "tests/support/ExpectThrowMsg.h"

#include "framework/headless/Clock.h"
#include "framework/headless/Headless.h"

class HeadlessTest : public ::testing::Test {
protected:
  void SetUp() override { Headless::Reset(); }
  void TearDown() override { Headless::Reset(); }
};

