// Indent alignment of a captured block: byte columns of GBK text; a cut
// takes only leading blanks, so no text is lost; bounded in size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frame/budget.h"
#include "input/tick.h"

namespace sq {
namespace {

struct AlignRow {
  const char* name;
  int column;
  std::vector<std::string> in;
  int shift;
  std::vector<std::string> out;
};

TEST(TickAlign, ShiftsEveryLineSoTheFirstStartsAtTheColumn) {
  const std::vector<AlignRow> rows = {
      {"indent to 12", 12, {"    a", "  b", "c"}, 8,
       {"            a", "          b", "        c"}},
      {"already there", 4, {"    a", "b"}, 0, {"    a", "b"}},
      {"cut 4 blanks from every line", 0, {"    a", "      bcdef", "    xy"}, -4,
       {"a", "  bcdef", "xy"}},
      {"a line indented less loses only its blanks", 0, {"    a", "  bcdef", "xy"}, -4,
       {"a", "bcdef", "xy"}},
      {"a blank first line counts whole", 0, {"   ", "abcd"}, -3, {"", "abcd"}},
      {"Chinese counts two bytes a character", 2, {"中文", "  字"}, 2,
       {"  中文", "    字"}},
      {"Chinese text is never cut", 0, {"  x", "中文", " 中文"}, -2, {"x", "中文", "中文"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> lines = row.in;
    EXPECT_EQ(Tick::AlignLines(lines, row.column), row.shift);
    EXPECT_EQ(lines, row.out);
  }
}

TEST(TickAlign, HugeColumnsAndIndentsStayBounded) {
  // A huge single-line copy sets a huge column; the next block must not
  // grow by that many blanks per line.
  std::vector<std::string> lines(1000, "x");
  EXPECT_EQ(Tick::AlignLines(lines, 50'000'000), budget::kAlignColumn);
  for (const auto& l : lines) ASSERT_EQ(l.size(), 1u + budget::kAlignColumn);

  std::vector<std::string> deep = {std::string(5000, ' ') + "y", "short"};
  EXPECT_EQ(Tick::AlignLines(deep, 0), -budget::kAlignColumn);
  EXPECT_EQ(deep[0].size(), 5001u - budget::kAlignColumn);
  EXPECT_EQ(deep[1], "short");

  std::vector<std::string> none;
  EXPECT_EQ(Tick::AlignLines(none, 7), 0);
}

}  // namespace
}  // namespace sq
