// The message formatter against the C library's own formatting.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "base/Errors.h"
using namespace zk;

TEST(Format, MatchesPrintfForTheConversionsTheTextsUse) {
  char expected[128];
  for (const int n : {0, 7, -1, 65535, INT_MAX, INT_MIN}) {
    std::snprintf(expected, sizeof expected, "'%s'|%d|%u|0x%x|100%%", "a b", n, static_cast<unsigned>(n),
                  static_cast<unsigned>(n));
    EXPECT_EQ(zk::Format("'%s'|%d|%u|0x%x|100%%", "a b", n, static_cast<unsigned>(n), static_cast<unsigned>(n)),
              expected);
  }
  EXPECT_EQ(zk::Format("%s\\cfg.ini", ""), "\\cfg.ini");
  EXPECT_EQ(zk::Format("no arguments"), "no arguments");
}
