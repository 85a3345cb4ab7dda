// Expects a statement to throw an exception of a type with exactly the given message.
#pragma once
#include <gtest/gtest.h>

#include <string>

#define EXPECT_THROW_MSG(stmt, type, text)                 \
  do {                                                     \
    try {                                                  \
      stmt;                                                \
      ADD_FAILURE() << "no exception from " #stmt;         \
    } catch (const type& e) {                              \
      EXPECT_EQ(std::string(e.what()), std::string(text)); \
    }                                                      \
  } while (0)
