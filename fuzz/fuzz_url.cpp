// Address dissection with every option, as WebRequest and the level-counting variant use it,
// and the value of a header line. Fields: options (2 bytes), address.
#include <optional>
#include <string>

#include "fuzz/fuzz_input.h"
#include "text/text.h"
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
  return 0;
}
