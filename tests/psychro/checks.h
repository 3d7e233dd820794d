// Shorthands for the library's refusal value.
#pragma once

#include <gtest/gtest.h>

#define EXPECT_REFUSED(expr) EXPECT_EQ((expr), -9999.0f) << #expr
#define EXPECT_ACCEPTED(expr) EXPECT_NE((expr), -9999.0f) << #expr
