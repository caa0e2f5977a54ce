// Response-cookie collection, MergeCookies and the request's header block on any header text,
// jar and fresh cookies. Fields: response or extra headers, jar, fresh cookies.
#include <string>

#include "fuzz/fuzz_input.h"
#include "text/text.h"
#include "web/cookies.h"
#include "web/request_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzFields in(data, size);
  const std::string headers = NormalizeSetCookie(in[0]);
  // Every "Set-Cookie" takes one spelling of the same length: nothing else moves.
  FUZZ_CHECK(headers.size() == in[0].size());
  const std::string collected = CollectResponseCookies(headers);
  FUZZ_CHECK(collected.find('\0') == std::string::npos);
  // No line break gets into a cookie, so none can reach the jar's Cookie line. WinINet gives
  // the headers in lines ended by "\r\n", with no "\n" inside a line; a bare "\n" could be
  // joined to a "\r" when the marker between them is removed.
  bool bareLineFeed = false;
  for (size_t i = 0; i < in[0].size(); ++i) bareLineFeed |= in[0][i] == '\n' && (i == 0 || in[0][i - 1] != '\r');
  if (!bareLineFeed) FUZZ_CHECK(TextFind(collected, "\r\n") == -1);

  // The request's header block keeps the caller's lines first and completes the rest.
  ChooseUserAgent(in[0]);
  const std::string block = HeaderBlock(in[0], in[1].empty() ? nullptr : &in[1]);
  FUZZ_CHECK(TextLeft(block, TextLength(in[0])) == in[0]);
  FUZZ_CHECK(TextFind(block, "Accept-Language:") != -1 && TextFind(block, "Content-Type:") != -1);

  std::string jar = in[1];
  std::string fresh = in[2];
  const std::string merged = MergeCookies(jar, fresh);
  FUZZ_CHECK(merged == jar);
  FUZZ_CHECK(fresh == TextRemoveSpaces(in[2]));
  // No spaces but those of the "; " between items; no deleted item; each item once; every
  // fresh item that is not deleted survives.
  FUZZ_CHECK(TextFind(TextReplace(jar, "; ", "", 1, -1, true), " ") == -1);
  const TextArray items = TextSplit(jar, "; ");
  for (int i = 1; i <= Count(items); ++i) {
    FUZZ_CHECK(TextRight(Element(items, i), 8) != "=deleted");
    FUZZ_CHECK(FindItem(items, Element(items, i)) == i);
  }
  const TextArray freshItems = TextSplit(fresh, ";");
  for (int i = 1; i <= Count(freshItems); ++i) {
    const std::string& item = Element(freshItems, i);
    if (!item.empty() && TextRight(item, 8) != "=deleted") FUZZ_CHECK(FindItem(items, item) != -1);
  }

  // The request's own road: the collected cookies merged into the jar.
  std::string jar2 = in[1];
  std::string fresh2 = collected;
  MergeCookies(jar2, fresh2);
  RemoveDuplicateItems(in[1], in[2]);
  return 0;
}
