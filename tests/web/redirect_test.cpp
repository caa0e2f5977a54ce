// Following redirects: where a Location points, which responses redirect, and the verb and
// cookie jar of the next hop.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "web/redirect.h"

namespace {

const std::optional<std::string> kNone;

TEST(ResolveUrl, ReadsTheReferenceAgainstTheBase) {
  const std::string base = "http://h.test:81/dir/page.html?a=1#top";
  const struct {
    std::string reference;
    std::optional<std::string> resolved;
  } cases[] = {
      {"https://other.test/x?y", std::string("https://other.test/x?y")},
      {"HTTP://Other.test", std::string("http://Other.test/")},
      {"//cdn.test/p", std::string("http://cdn.test/p")},
      {"/root?q=2", std::string("http://h.test:81/root?q=2")},
      {"next.html", std::string("http://h.test:81/dir/next.html")},
      {"../up/./x.html", std::string("http://h.test:81/up/x.html")},
      {"../../../../x", std::string("http://h.test:81/x")},
      {"sub/..", std::string("http://h.test:81/dir/")},
      {"?b=2", std::string("http://h.test:81/dir/page.html?b=2")},
      {"#frag", std::string("http://h.test:81/dir/page.html?a=1")},
      {"  /trimmed  ", std::string("http://h.test:81/trimmed")},
      {"p.html#x", std::string("http://h.test:81/dir/p.html")},
      {"a:b/c", kNone},  // another scheme
      {"", kNone},
      {"   ", kNone},
      {"javascript:alert(1)", kNone},
      {"file:///C:/x", kNone},
      {"ftp://h.test/x", kNone},
      {"http:no-slashes", kNone},
      {"http://", kNone},
      {"https:///path", kNone},
  };
  for (const auto& c : cases) EXPECT_EQ(c.resolved, ResolveUrl(base, c.reference)) << c.reference;

  // A base without a scheme or path, as the host dissection accepts it.
  EXPECT_EQ(std::optional<std::string>("http://h.test/x"), ResolveUrl("h.test", "x"));
  EXPECT_EQ(std::optional<std::string>("https://h.test/y"), ResolveUrl("https://h.test?q", "y"));
  EXPECT_EQ(kNone, ResolveUrl("", "x"));
}

TEST(RedirectTarget, FollowsOnlyRedirectStatusesWithAUsableLocation) {
  const struct {
    std::string url, headers;
    std::optional<std::string> target;
  } cases[] = {
      {"http://h/a", "HTTP/1.1 302 Found\r\nLocation: /b\r\n\r\n", std::string("http://h/b")},
      {"http://h/a", "HTTP/1.1 301 Moved\r\nX: 1\r\nlocation:b\r\n", std::string("http://h/b")},
      {"http://h/a", "HTTP/1.0 303 See Other\nLOCATION: http://k/\n", std::string("http://k/")},
      {"http://h/a", "HTTP/1.1 307 Temporary Redirect\r\nLocation: /c\r\nLocation: /d\r\n", std::string("http://h/c")},
      {"http://h/a", "HTTP/1.1 308 Permanent Redirect\r\nLocation: https://h/a\r\n", std::string("https://h/a")},
      {"http://h/a", "HTTP/1.1 200 OK\r\nLocation: /b\r\n", kNone},
      {"http://h/a", "HTTP/1.1 304 Not Modified\r\nLocation: /b\r\n", kNone},
      {"http://h/a", "HTTP/1.1 300 Multiple Choices\r\nLocation: /b\r\n", kNone},
      {"http://h/a", "HTTP/1.1 302 Found\r\nContent-Location: /b\r\n", kNone},
      {"http://h/a", "HTTP/1.1 302 Found\r\n", kNone},
      {"http://h/a", "HTTP/1.1 302 Found\r\nLocation: \r\n", kNone},
      {"http://h/a", "HTTP/1.1 302 Found\r\nLocation: mailto:x@h\r\n", kNone},
      {"http://h/a", "HTTP/1.1 30", kNone},
      {"http://h/a", "", kNone},
      {"http://h/a", "     ", kNone},
      // No step down from https to plain http; staying secure or on the same level is fine.
      {"https://h/a", "HTTP/1.1 302 Found\r\nLocation: http://h/a\r\n", kNone},
      {"https://h/a", "HTTP/1.1 302 Found\r\nLocation: //k/b\r\n", std::string("https://k/b")},
      {"https://h/a", "HTTP/1.1 302 Found\r\nLocation: /b\r\n", std::string("https://h/b")},
  };
  for (const auto& c : cases) EXPECT_EQ(c.target, RedirectTarget(c.url, c.headers)) << c.headers;
}

TEST(RedirectMethod, SeeOtherAndMovedPostAskWithGet) {
  const struct {
    int method;
    const char* status;
    int next;
  } cases[] = {
      {1, "HTTP/1.1 301 Moved", 0}, {1, "HTTP/1.1 302 Found", 0}, {1, "HTTP/1.1 303 See Other", 0},
      {1, "HTTP/1.1 307 Temporary", 1}, {1, "HTTP/1.1 308 Permanent", 1}, {0, "HTTP/1.1 307 Temporary", 0},
      {2, "HTTP/1.1 302 Found", 2}, {2, "HTTP/1.1 303 See Other", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.next, RedirectMethod(c.method, c.status)) << c.method << c.status;
}

TEST(SameOrigin, ComparesSchemeHostAndPort) {
  EXPECT_TRUE(SameOrigin("http://h.test/a", "http://H.TEST/b?c"));
  EXPECT_TRUE(SameOrigin("h.test/a", "http://h.test/"));
  EXPECT_FALSE(SameOrigin("http://h.test/a", "https://h.test/a"));
  EXPECT_FALSE(SameOrigin("http://h.test/a", "http://h.test:8080/a"));
  EXPECT_FALSE(SameOrigin("http://h.test/a", "http://evil.test/a"));
  EXPECT_FALSE(SameOrigin("http://h.test/a", "ftp://h.test/a"));
}

}  // namespace
