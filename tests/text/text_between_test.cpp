#include <gtest/gtest.h>

#include "text/text.h"

namespace {

struct BetweenCase {
  std::string text, left, right;
  std::string expected;
};

TEST(TextBetween, Table) {
  const BetweenCase cases[] = {
      {"(x)", "(", ")", "x"},
      {"(a)(b)", "(", ")", "a"},        // the first left marker, the next right marker
      {"x)", "(", ")", ""},             // left marker missing
      {"(x", "(", ")", ""},             // right marker missing
      {"b)a(c", "(", ")", ""},          // a right marker only before the left one is missing
      {"(x)", "(", "", ""},             // an empty right marker never lies after the left one
      {"ab)c)", "", ")", "ab"},         // an empty left marker matches at the first byte
      {"ab(", "(", ")", ""},            // a left marker that ends the text
      {"()", "(", ")", ""},
      {"", "", "", ""},
      {"<a href=\"/t/9.html\">", "href=#引号", "#引号", "/t/9.html"},
      {"a\"b\"#引号", "#引号", "#引号", "b"},  // only the markers are rewritten, not the text
      {"<td>标题</td><td>参与</td>", "<td>", "</td>", "标题"},
      {"\x81" "(x)(y)", "(", ")", "y"},  // 0x81 0x28 is one character: its "(" is no marker
  };
  for (const BetweenCase& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.left, c.right), c.expected)
        << "text=" << c.text << " left=" << c.left << " right=" << c.right;
  }
}

TEST(TextBetween, StartAndIgnoreCase) {
  EXPECT_EQ(TextBetween("(a)(b)", "(", ")", 3), "b");
  EXPECT_EQ(TextBetween("<A>x</a>", "<a>", "</A>"), "");
  EXPECT_EQ(TextBetween("<A>x</a>", "<a>", "</A>", 0, true), "x");
}

}  // namespace
