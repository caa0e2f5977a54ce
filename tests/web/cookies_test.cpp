// Collecting the cookies a response sets and merging them into the caller's jar.
#include <gtest/gtest.h>

#include <string>

#include "web/cookies.h"

namespace {

TEST(Cookies, NormalizeGivesSetCookieOneSpelling) {
  EXPECT_EQ("Set-Cookie: a=1\r\nSet-Cookie: b=2\r\nX: set-cooki",
            NormalizeSetCookie("set-cookie: a=1\r\nSET-COOKIE: b=2\r\nX: set-cooki"));
}

TEST(Cookies, CollectsTheFirstItemOfEverySetCookieLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\n\r\n", "a=1"},
      {"HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\n\r\n", "a=1"},
      {"Set-Cookie: a=1\r\nContent-Length: 0\r\nSet-Cookie: b=2; HttpOnly\r\n\r\n", "a=1; b=2"},
      {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
      {"", ""},
      {"Set-Cookie:a=1;", "a=1"},
      {"Set-Cookie:   a = 1   ", "a = 1"},
      // Without ";" every "Set-Cookie:" goes, in any letter case.
      {"Set-Cookie: set-cookie:x", "x"},
      // "Set-Cookie" and ";" without "Set-Cookie:" contribute an empty item.
      {"Set-Cookie: a=1\r\nX-Set-Cookie-Note; yes\r\n", "a=1; "},
      {"X-Set-Cookie-Note; yes", ""},
      // A line that mentions it anywhere counts.
      {"X-Note: Set-Cookie:q=1", "X-Note: q=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, CollectResponseCookies(c.first)) << c.first;
}

TEST(Cookies, LowerCaseSetCookieLineIsCollectedAfterNormalizing) {
  EXPECT_EQ("a=1", CollectResponseCookies(NormalizeSetCookie("HTTP/1.1 200 OK\r\nset-cookie: a=1; path=/\r\n\r\n")));
}

struct MergeCase {
  std::string jar, fresh;
  std::string merged, freshAfter;
};

TEST(Cookies, MergeCookies) {
  const MergeCase cases[] = {
      {"a=1; b=2", "a=3", "a=3; b=2", "a=3"},
      {"a=1", "a=deleted", "", "a=deleted"},
      {"a=1; a=2", "", "a=1", ""},
      {"", "a=1; a=1", "a=1", "a=1;a=1"},
      {"", "a=1; a=2", "a=1; a=2", "a=1;a=2"},
      {"", "a=1; b=2", "a=1; b=2", "a=1;b=2"},
      {"a=x y", "", "a=xy", ""},
      {"a=1\xA1\xA1; b=2", "", "a=1; b=2", ""},  // full-width space
      {"a=1; b=deleted", "c=3", "c=3; a=1", "c=3"},
      {"a=1;b=2", "b=deleted", "a=1", "b=deleted"},  // a deleted fresh item hides the old one
      {"A=1", "a=2", "a=2; A=1", "a=2"},             // names respect letter case
      {"x=Deleted", "", "x=Deleted", ""},            // "=deleted" compared exactly
      {"a=1;;b=2", "", "a=1; ; b=2", ""},            // an empty item survives once
      {"", "", "", ""},
      {"c=3; d=4", "a=1; b=2", "a=1; b=2; c=3; d=4", "a=1;b=2"},
      {"flag; a=1", "flag", "flag; a=1", "flag"},  // an item without "=" is its own name
  };
  for (const MergeCase& c : cases) {
    std::string jar = c.jar, fresh = c.fresh;
    const std::string returned = MergeCookies(jar, fresh);
    EXPECT_EQ(c.merged, jar) << c.jar << " + " << c.fresh;
    EXPECT_EQ(c.merged, returned) << c.jar << " + " << c.fresh;
    EXPECT_EQ(c.freshAfter, fresh) << c.jar << " + " << c.fresh;
  }
}

TEST(Cookies, CookieName) {
  const std::pair<std::string, std::string> cases[] = {
      {"a=1", "a"}, {" a =1", "a"}, {"a", "a"}, {"=1", ""}, {"a=b=c", "a"}, {"", ""}, {"\xA1\xA1k=v", "k"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, CookieName(c.first)) << c.first;
}

TEST(Cookies, CookieListHasName) {
  EXPECT_FALSE(CookieListHasName({}, "a"));
  EXPECT_FALSE(CookieListHasName({}, ""));
  EXPECT_TRUE(CookieListHasName({"a=1", "b=2"}, "b"));
  EXPECT_FALSE(CookieListHasName({"A=1"}, "a"));
  EXPECT_TRUE(CookieListHasName({"a"}, "a"));
  EXPECT_TRUE(CookieListHasName({" b = 2"}, "b"));
  EXPECT_FALSE(CookieListHasName({"ab=1"}, "a"));
}

TEST(Cookies, RemoveDuplicateItems) {
  const struct {
    std::string text, separator, result;
  } cases[] = {
      {"x; y; x", "; ", "x; y"},
      {"", "; ", ""},
      {"x", "; ", "x"},
      {"x; x; x", "; ", "x"},
      {"a,b,a,,", ",", "a,b,"},  // the empty piece between the last two commas is kept once
      {"X; x", "; ", "X; x"},    // exact comparison
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, RemoveDuplicateItems(c.text, c.separator)) << c.text;
}

TEST(Cookies, FindItem) {
  EXPECT_EQ(-1, FindItem({}, ""));
  EXPECT_EQ(-1, FindItem({}, "a"));
  const TextArray items = {"a", "b", "a", ""};
  EXPECT_EQ(1, FindItem(items, "a"));
  EXPECT_EQ(2, FindItem(items, "b"));
  EXPECT_EQ(4, FindItem(items, ""));
  EXPECT_EQ(-1, FindItem(items, "c"));
  EXPECT_EQ(-1, FindItem({"A"}, "a"));
}

}  // namespace
