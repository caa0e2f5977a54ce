// What a request carries before WinINet sees it: verb, agent, header block, flags, proxy, body.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "web/request_plan.h"

namespace {

const std::string kAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const std::string kTail = "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

TEST(RequestPlan, VerbIsPostOnlyForMethodOne) {
  EXPECT_EQ("GET", RequestVerb(0));
  EXPECT_EQ("POST", RequestVerb(1));
  EXPECT_EQ("GET", RequestVerb(2));
  EXPECT_EQ("GET", RequestVerb(-1));
}

TEST(RequestPlan, SecureByFirstFiveCharacters) {
  const std::pair<std::string, bool> cases[] = {
      {"https://x", true}, {"HTTPS://Host:8443/a?b=1", true}, {"Https", true}, {"httpsx", true},
      {"http://x", false}, {"http", false},   {"", false},      {"xhttps://", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, IsSecureUrl(c.first)) << c.first;
}

TEST(RequestPlan, ChoosesTheUserAgent) {
  EXPECT_EQ(kAgent, kDefaultUserAgent);
  const std::pair<std::string, std::string> cases[] = {
      {"", kAgent},
      {"Accept: text/html", kAgent},
      // No "\r\n" after the value: the first header value of the block stands in.
      {"User-Agent: X", "X"},
      {"User-Agent: X\r\nAccept: y", "X"},
      {"Accept: y\r\nUser-Agent:  Z \r\nB: 1", "Z"},
      // Found ignoring case, but the marker search respects it: first value of the block.
      {"user-agent: X\r\nAccept: y", "X\r\nAccept: y"},
      {"user-agent: X", "X"},
      // Blank value: the value after the first ":", whose line break is no blank.
      {"User-Agent: \r\nAccept: y", "\r\nAccept: y"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.second, ChooseUserAgent(c.first)) << c.first;
}

struct BlockCase {
  std::string extra;
  const char* jar;  // null: no jar
  std::string block;
};

TEST(RequestPlan, HeaderBlock) {
  const BlockCase cases[] = {
      {"", nullptr, "Accept: */*" + kTail},
      {"Accept: text/html", nullptr, "Accept: text/html" + kTail},
      // The search respects letter case, so a second Accept line follows.
      {"accept: text/html", nullptr, "accept: text/html\r\nAccept: */*" + kTail},
      {"User-Agent: X", nullptr, "User-Agent: X\r\nAccept: */*" + kTail},
      {"Content-Type: text/plain\r\nAccept-Language: en", nullptr,
       "Content-Type: text/plain\r\nAccept-Language: en\r\nAccept: */*"},
      {"X-A: 1\r\nAccept-Language: de", nullptr,
       "X-A: 1\r\nAccept-Language: de\r\nAccept: */*\r\nContent-Type: application/x-www-form-urlencoded"},
      {"", "a=1; b=2", "Accept: */*" + kTail + "\r\nCookie: a=1; b=2"},
      {"", "", "Accept: */*" + kTail},  // present but empty jar: no Cookie line
      {"Cookie: z=9", " a = 1 ", "Cookie: z=9\r\nAccept: */*" + kTail + "\r\nCookie:  a = 1 "},
  };
  for (const BlockCase& c : cases) {
    const std::string jar = c.jar ? c.jar : "";
    EXPECT_EQ(c.block, HeaderBlock(c.extra, c.jar ? &jar : nullptr)) << c.extra << " | " << (c.jar ? c.jar : "(none)");
  }
}

TEST(RequestPlan, RequestFlags) {
  struct {
    bool secure, jar, noRedirect;
    uint32_t flags;
  } const cases[] = {
      {false, false, false, 0x80004010u},  // reload, need file, ignore redirect to https
      {true, false, false, 0x80800010u},   // secure in place of the last
      {false, true, false, 0x80084010u},   // no cookies
      {false, false, true, 0x80204010u},   // no auto redirect
      {true, true, true, 0x80A80010u},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.flags, RequestFlags(c.secure, c.jar, c.noRedirect)) << c.secure << c.jar << c.noRedirect;
}

TEST(RequestPlan, ProxyList) {
  EXPECT_EQ("http=127.0.0.1:8080", ProxyList("127.0.0.1:8080", false));
  EXPECT_EQ("127.0.0.1:8080", ProxyList("127.0.0.1:8080", true));
  EXPECT_EQ("http=", ProxyList("", false));
  EXPECT_EQ("", ProxyList("", true));
}

TEST(RequestPlan, BodyBytesWinOverText) {
  EXPECT_EQ(Bytes({'a', 'b', 'c'}), RequestBody("abc", Bytes()));
  EXPECT_EQ(Bytes({1, 0, 2}), RequestBody("abc", Bytes({1, 0, 2})));
  EXPECT_EQ(Bytes(), RequestBody("", Bytes()));
  EXPECT_EQ(Bytes({0xD6, 0xD0}), RequestBody("中", Bytes()));  // CP936 bytes, no terminator
}

}  // namespace
