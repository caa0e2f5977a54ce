// libFuzzer target (tests/web/fuzz.sh builds and runs it): the address, header and cookie
// rules on arbitrary CP936 bytes, checked against properties that follow from their rules.
// Input: one byte of options, then url, jar, fresh cookies and header text separated by 0xFF.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/text.h"
#include "web/cookies.h"
#include "web/request_plan.h"
#include "web/url.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Texts hold no zero byte.
std::string Piece(const uint8_t*& at, const uint8_t* end) {
  std::string text;
  for (; at < end && *at != 0xFF; ++at)
    if (*at != 0) text += static_cast<char>(*at);
  if (at < end) ++at;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  const uint8_t* at = data + 1;
  const uint8_t* end = data + size;
  const std::string url = Piece(at, end), jarIn = Piece(at, end), freshIn = Piece(at, end),
                    headerText = Piece(at, end);

  const bool domainOnly = options & 1, keepPort = options & 2;
  const std::optional<int> levels = options & 4 ? std::optional<int>((options >> 3) - 4) : std::nullopt;
  const std::string host = UrlHost(url, domainOnly, keepPort, levels);
  if (!keepPort) Check(TextFind(host, ":") == -1);
  Check(TextLeft(UrlPath(url), 1) == "/");
  UrlPort(url);
  const std::string value = HeaderValue(headerText);
  Check(TextLeft(value, 1) != " ");

  ChooseUserAgent(headerText);
  const std::string block = HeaderBlock(headerText, options & 0x80 ? &jarIn : nullptr);
  Check(TextLeft(block, TextLength(headerText)) == headerText);
  Check(TextFind(block, "Accept-Language:") != -1 && TextFind(block, "Content-Type:") != -1);

  const std::string cookies = CollectResponseCookies(NormalizeSetCookie(headerText));
  Check(TextFind(cookies, "\r\n") == -1);

  std::string jar = jarIn, fresh = freshIn + (freshIn.empty() ? "" : ";") + cookies;
  const std::string merged = MergeCookies(jar, fresh);
  Check(merged == jar);
  // No spaces but those of the "; " between items.
  Check(TextFind(TextReplace(jar, "; ", "", 1, -1, true), " ") == -1 && TextFind(fresh, " ") == -1);
  const TextArray items = TextSplit(jar, "; ");
  for (int i = 1; i <= Count(items); ++i) {
    Check(TextRight(Element(items, i), 8) != "=deleted");
    Check(FindItem(items, Element(items, i)) == i);  // each item once
  }
  // Every fresh item that is not deleted survives.
  const TextArray freshItems = TextSplit(fresh, ";");
  for (int i = 1; i <= Count(freshItems); ++i) {
    const std::string& item = Element(freshItems, i);
    if (!item.empty() && TextRight(item, 8) != "=deleted") Check(FindItem(items, item) != -1);
  }
  RemoveDuplicateItems(headerText, url);
  return 0;
}
