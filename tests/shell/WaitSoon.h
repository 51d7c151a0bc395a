#pragma once
// Waiting for what the event loop brings about. Qt's QTRY_* macros report to the Qt test
// log, which these GoogleTest programs never read, so a condition that never came true
// would end the test early and pass it; these wait the same way and fail the test.

#include <gtest/gtest.h>

#include <QTest>

#define ASSERT_SOON(condition, timeoutMs) \
  ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, timeoutMs)) << #condition

#define ASSERT_EQ_SOON(actual, expected)                                   \
  do {                                                                     \
    (void)QTest::qWaitFor([&] { return (actual) == (expected); }, 5000);   \
    ASSERT_EQ(actual, expected);                                           \
  } while (false)
