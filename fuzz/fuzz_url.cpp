// Address dissection with every option, as WebRequest and the level-counting variant use it,
// the value of a header line, and where a redirect leads. Fields: options (2 bytes), address,
// response headers.
#include <optional>
#include <string>

#include "fuzz/fuzz_input.h"
#include "text/text.h"
#include "web/redirect.h"
#include "web/request_plan.h"
#include "web/url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzFields in(data, size);
  std::string options = in[0];
  options.resize(2, '\0');
  const bool domainOnly = options[0] & 1;
  const bool keepPort = options[0] & 2;
  // Levels are counted one "." at a time; a caller passes a handful, so the fuzzer does too.
  const std::optional<int> levels =
      (options[0] & 4) ? std::optional<int>(static_cast<signed char>(options[1])) : std::nullopt;
  const std::string& url = in[1];

  const std::string host = UrlHost(url, domainOnly, keepPort, levels);
  FUZZ_CHECK(TextLower(host) == host);  // cut from the lower-cased address at character starts
  const std::string plainHost = UrlHost(url);
  FUZZ_CHECK(TextFind(plainHost, "/") == -1);
  UrlPort(url);
  const std::string path = UrlPath(url);
  FUZZ_CHECK(!path.empty() && path[0] == '/');
  FUZZ_CHECK(path == "/" || url.size() >= path.size());

  const std::string value = HeaderValue(url);
  // Trimmed: no leading blank. (Trailing blanks stay before an incomplete final character.)
  FUZZ_CHECK(value.empty() || (value[0] != ' ' && value.compare(0, 2, "\xA1\xA1") != 0));

  // A redirect leads only to a web address, without fragment, never down from https.
  const std::optional<std::string> next = RedirectTarget(url, in[2]);
  if (next) {
    FUZZ_CHECK(next->compare(0, 7, "http://") == 0 || next->compare(0, 8, "https://") == 0);
    FUZZ_CHECK(next->find('#') == std::string::npos);
    FUZZ_CHECK(!(IsSecureUrl(url) && next->compare(0, 7, "http://") == 0));
    // Already absolute and normal (a blank at its end would be trimmed off as a reference).
    if (next->back() != ' ' && next->back() != '\t') FUZZ_CHECK(ResolveUrl(*next, *next) == next);
  }
  const int method = RedirectMethod(options[1] & 3, in[2]);
  FUZZ_CHECK(method == 0 || method == (options[1] & 3));
  return 0;
}
