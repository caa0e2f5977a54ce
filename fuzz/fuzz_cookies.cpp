// Response-cookie collection and MergeCookies on any header text, jar and fresh cookies.
// Fields: response headers, jar, fresh cookies.
#include <string>

#include "fuzz/fuzz_input.h"
#include "text/text.h"
#include "web/cookies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzFields in(data, size);
  const std::string headers = NormalizeSetCookie(in[0]);
  // Every "Set-Cookie" takes one spelling of the same length: nothing else moves.
  FUZZ_CHECK(headers.size() == in[0].size());
  const std::string collected = CollectResponseCookies(headers);
  FUZZ_CHECK(collected.find('\0') == std::string::npos);

  std::string jar = in[1];
  std::string fresh = in[2];
  const std::string merged = MergeCookies(jar, fresh);
  FUZZ_CHECK(merged == jar);
  FUZZ_CHECK(fresh == TextRemoveSpaces(in[2]));

  // The request's own road: the collected cookies merged into the jar.
  std::string jar2 = in[1];
  std::string fresh2 = collected;
  MergeCookies(jar2, fresh2);
  RemoveDuplicateItems(in[1], in[2]);
  return 0;
}
