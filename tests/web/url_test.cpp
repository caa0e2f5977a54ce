// Address dissection: host, port and object name as WinINet receives them.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "web/url.h"

namespace {

struct HostCase {
  std::string url;
  bool domainOnly;
  bool keepPort;
  std::optional<int> levels;
  std::string host;
};

TEST(UrlHost, FollowsTheRules) {
  const HostCase cases[] = {
      // Scheme variant.
      {"HTTPS://Host:8443/a?b=1", false, false, std::nullopt, "host"},
      {"HTTPS://Host:8443/a?b=1", false, true, std::nullopt, "host:8443"},
      {"host/page.html", false, false, std::nullopt, "host"},
      {"http://host", false, false, std::nullopt, "host"},
      {"http://host:8080", false, false, std::nullopt, "host"},
      {"http://host:8080", false, true, std::nullopt, "host:8080"},
      {"http://WWW.Example.COM/x/y", false, false, std::nullopt, "www.example.com"},
      {"http://www.example.com/x", true, false, std::nullopt, "example.com"},
      {"a.b.c", true, false, std::nullopt, "b.c"},
      {"localhost", true, false, std::nullopt, "localhost"},
      {"http://a.b.c:81/", true, false, std::nullopt, "b.c"},
      {"http://a.b.c:81/", true, true, std::nullopt, "b.c:81"},
      {"", false, false, std::nullopt, ""},
      // "http://" anywhere counts, so nothing is prefixed here.
      {"see http://h.test/x", false, false, std::nullopt, "h.test"},
      // No "http://": one is prefixed, so another scheme ends up as the host.
      {"ftp://x/y", false, false, std::nullopt, "ftp"},
      {"ftp://x/y", false, true, std::nullopt, "ftp:"},
      // Level-counting variant: dots at 4, 6 and 8 of "www.a.b.com".
      {"http://www.a.b.com/x", false, false, 0, "b.com"},
      {"http://www.a.b.com/x", true, false, 0, "com"},
      {"http://www.a.b.com/x", false, false, 1, "a.b.com"},
      {"http://www.a.b.com/x", true, false, 1, "b.com"},
      {"http://www.a.b.com/x", false, false, 2, "www.a.b.com"},
      {"http://www.a.b.com/x", true, false, 2, "a.b.com"},
      {"a.b", false, false, 5, "a.b"},
      {"a.b", true, false, 5, "a.b"},
      {"https://x.y.z:8080/p", false, false, 0, "y.z"},
      {"https://x.y.z:8080/p", false, true, 0, "y.z:8080"},
      {"https://x.y.z:8080/p", true, false, 0, "z"},
      {"HTTP://Mixed.Case.Host", false, false, 0, "case.host"},
      {"nodots", false, false, 0, "nodots"},
      {"", true, false, 1, ""},
  };
  for (const HostCase& c : cases) {
    EXPECT_EQ(c.host, UrlHost(c.url, c.domainOnly, c.keepPort, c.levels))
        << c.url << " domainOnly=" << c.domainOnly << " keepPort=" << c.keepPort
        << " levels=" << (c.levels ? std::to_string(*c.levels) : "absent");
  }
}

TEST(UrlHost, DefaultsAreSchemeVariantWithoutPort) {
  EXPECT_EQ("host", UrlHost("HTTP://HOST:81/a"));
}

TEST(UrlPort, FromAddressOrScheme) {
  const std::pair<std::string, int> cases[] = {
      {"HTTPS://Host:8443/a?b=1", 8443},
      {"https://host/", 443},
      {"Https://host", 443},
      {"host/page.html", 80},
      {"http://host", 80},
      {"http://host:8080", 8080},
      {"host:81", 81},
      {"http://host:abc/", 0},  // converted as far as digits go
      {"http://host:", 0},
      {"http://host:12x/", 12},
      {"", 80},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, UrlPort(c.first)) << c.first;
}

TEST(UrlPath, ObjectNameWithQuery) {
  const std::pair<std::string, std::string> cases[] = {
      {"HTTPS://Host:8443/a?b=1", "/a?b=1"},
      {"host/page.html", "/page.html"},
      {"http://host", "/"},
      {"http://host:8080", "/"},
      {"http://host/", "/"},
      {"http://host/a/b?c=/d#e", "/a/b?c=/d#e"},
      {"http://HOST/Mixed/Case", "/Mixed/Case"},
      {"http://host:8080/x", "/x"},
      {"", "/"},
      // Hosts that also occur inside the scheme.
      {"http://h/x", "/x"},
      {"http://tp:1/x", "/x"},
      {"HTTPS://s/a?b", "/a?b"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, UrlPath(c.first)) << c.first;
}

TEST(HeaderValue, TrimmedTextAfterFirstColon) {
  const std::pair<std::string, std::string> cases[] = {
      {"User-Agent: X", "X"},
      {"a:b:c", "b:c"},
      {"no colon", ""},
      {"K:  ", ""},
      {"K:\t v ", "\t v"},  // a tab is not a blank
      {"K:\xA1\xA1v\xA1\xA1", "v"},  // full-width spaces are
      {"", ""},
      {"User-Agent: X\r\nAccept: y", "X\r\nAccept: y"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, HeaderValue(c.first)) << c.first;
}

}  // namespace
