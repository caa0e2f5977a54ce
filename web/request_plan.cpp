#include "web/request_plan.h"

#include "text/text.h"
#include "web/url.h"

const char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

namespace {
constexpr uint32_t kFlagReload = 0x80000000u;
constexpr uint32_t kFlagNeedFile = 0x00000010u;
constexpr uint32_t kFlagNoCookies = 0x00080000u;
constexpr uint32_t kFlagNoAutoRedirect = 0x00200000u;
constexpr uint32_t kFlagSecure = 0x00800000u;
constexpr uint32_t kFlagIgnoreRedirectToHttps = 0x00004000u;
}  // namespace

std::string RequestVerb(int method) { return method == 1 ? "POST" : "GET"; }

bool IsSecureUrl(const std::string& url) { return TextLower(TextLeft(url, 5)) == "https"; }

std::string ChooseUserAgent(const std::string& extraHeaders) {
  if (TextFind(extraHeaders, "User-Agent:", 1, true) == -1) return kDefaultUserAgent;
  // The marker search below respects letter case and needs a line end after the value; when
  // it comes up empty the first header value of the block stands in.
  const std::string agent = TextTrim(TextBetween(extraHeaders, "User-Agent:", "\r\n"));
  return agent.empty() ? HeaderValue(extraHeaders) : agent;
}

std::string HeaderBlock(const std::string& extraHeaders, const std::string* cookieJar) {
  std::string block;
  if (extraHeaders.empty()) {
    block = "Accept: */*";
  } else {
    block = extraHeaders;
    if (TextFind(block, "Accept:") == -1) block += "\r\nAccept: */*";
  }
  if (TextFind(block, "Accept-Language:") == -1) block += "\r\nAccept-Language: zh-cn";
  if (TextFind(block, "Content-Type:") == -1) block += "\r\nContent-Type: application/x-www-form-urlencoded";
  if (cookieJar && !cookieJar->empty()) block += "\r\nCookie: " + *cookieJar;
  return block;
}

uint32_t RequestFlags(bool secure, bool cookieJarPresent, bool noRedirect) {
  uint32_t flags = kFlagReload | kFlagNeedFile;
  if (cookieJarPresent) flags |= kFlagNoCookies;
  if (noRedirect) flags |= kFlagNoAutoRedirect;
  flags |= secure ? kFlagSecure : kFlagIgnoreRedirectToHttps;
  return flags;
}

std::string ProxyList(const std::string& proxy, bool secure) { return secure ? proxy : "http=" + proxy; }

Bytes RequestBody(const std::string& bodyText, const Bytes& bodyBytes) {
  return bodyBytes.empty() ? TextToBytes(bodyText) : bodyBytes;
}
