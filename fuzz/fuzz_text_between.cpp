// TextBetween against its definition over the plain character walk, with the "#引号" marker
// rewriting, any start and either letter-case mode. Fields: options (2 bytes), text, left, right.
#include <string>

#include "fuzz/fuzz_input.h"
#include "tests/text/text_reference.h"
#include "text/text.h"

namespace {

std::string Expected(const std::string& text, const std::string& left, const std::string& right,
                     int start, bool ignoreCase) {
  const std::string l = reference::Replace(left, "#引号", "\"", 1, -1, true);
  const std::string r = reference::Replace(right, "#引号", "\"", 1, -1, true);
  const int a = reference::Find(text, l, start, ignoreCase);
  if (a == -1) return std::string();
  const long long after = static_cast<long long>(a) + static_cast<long long>(l.size());
  const int b = reference::Find(text, r, static_cast<int>(after), ignoreCase);
  // mid of a length 0 or below is empty: an empty right marker is found at 1, before a.
  if (b == -1 || b <= after) return std::string();
  return text.substr(static_cast<size_t>(after - 1), static_cast<size_t>(b - after));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzFields in(data, size);
  std::string options = in[0];
  options.resize(2, '\0');
  const bool ignoreCase = options[0] & 1;
  const int start = FuzzInt(static_cast<unsigned char>(options[1]));
  const std::string& text = in[1];
  const std::string& left = in[2];
  const std::string& right = in[3];

  const std::string got = TextBetween(text, left, right, start, ignoreCase);
  FUZZ_CHECK(got == Expected(text, left, right, start, ignoreCase));
  // The collector's way of calling it: start and letter case omitted.
  FUZZ_CHECK(TextBetween(text, left, right) == Expected(text, left, right, 0, false));
  return 0;
}
