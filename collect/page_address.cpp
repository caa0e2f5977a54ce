#include "collect/page_address.h"

#include <vector>

#include "collect/listings.h"

namespace {

// Marks the bytes where characters start: a byte of 0x80 or above begins a two-byte character,
// so a '/', '?', 'p' or digit that is the second byte of a Chinese character is never taken
// for one of its own.
std::vector<bool> CharacterStarts(const std::string& text) {
  std::vector<bool> starts(text.size() + 1, false);
  size_t i = 0;
  for (; i < text.size(); i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1)
    starts[i] = true;
  starts[text.size()] = i == text.size();
  return starts;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::string> ListingPageAddress(const std::string& listingAddress, int page) {
  if (page < 1) return std::nullopt;
  const std::string& a = listingAddress;
  const std::vector<bool> start = CharacterStarts(a);

  // The path runs from the first '/' after "scheme://" to the first '?' or '#'.
  const size_t scheme = a.find("://");
  const size_t hostStart = scheme == std::string::npos ? 0 : scheme + 3;
  size_t pathStart = std::string::npos, pathEnd = a.size(), lastSlash = std::string::npos;
  for (size_t i = hostStart; i < a.size(); ++i) {
    if (!start[i]) continue;
    if (a[i] == '?' || a[i] == '#') {
      pathEnd = i;
      break;
    }
    if (a[i] == '/') {
      if (pathStart == std::string::npos) pathStart = i;
      lastSlash = i;
    }
  }

  static const std::string kSuffix = ".html";
  const bool patterned = pathStart != std::string::npos && pathEnd >= pathStart + 1 + kSuffix.size() &&
                         start[pathEnd - kSuffix.size()] &&
                         a.compare(pathEnd - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
  if (!patterned) {
    if (page == 1) return a;
    return std::nullopt;
  }

  // The name lies between the last '/' and ".html"; a page number ending it is dropped.
  const size_t nameStart = lastSlash + 1;
  const size_t suffixStart = pathEnd - kSuffix.size();
  size_t nameEnd = suffixStart;
  size_t digits = nameEnd;
  while (digits > nameStart && start[digits - 1] && IsDigit(a[digits - 1])) --digits;
  if (digits < nameEnd && digits > nameStart && start[digits - 1] && a[digits - 1] == 'p')
    nameEnd = digits - 1;
  return a.substr(0, nameEnd) + "p" + std::to_string(page) + a.substr(suffixStart);
}

std::string TaskPagePath(int page) {
  return MarketplaceBaseAddress() + "/c-rjkf/tp" + std::to_string(page) + ".html";
}
