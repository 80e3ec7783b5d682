// The one line rule of the program: what ends a line, what a last line
// without an ending and an empty text give, and the way back.
#include <gtest/gtest.h>

#include "platform/lines.h"

namespace sq {
namespace {

TEST(Lines, SplitAndJoin) {
  struct Case { const char* text; std::vector<std::string> lines; };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\r\n", {"a", "b"}},          // a bare LF ends a line too
      {"a\r\n\r\nb", {"a", "", "b"}},    // an empty line in the middle stays
      {"\r\n", {""}},
      {"a\rb\r", {"a\rb\r"}},            // a CR alone ends nothing
      {"x\r\r\ny", {"x\r", "y"}},        // only the CR next to the LF goes
      {"中文\r\n行", {"中文", "行"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << '"' << c.text << '"';
  EXPECT_EQ(JoinLines({"a", "b"}), "a\r\nb");
  EXPECT_EQ(JoinLines({"a", "b"}, true), "a\r\nb\r\n");
  EXPECT_EQ(JoinLines({}, true), "");
  for (const char* t : {"a\r\nb\r\n", "\r\n", "one\r\n\r\nthree\r\n"})
    EXPECT_EQ(JoinLines(SplitLines(t), true), t);
}

}  // namespace
}  // namespace sq
