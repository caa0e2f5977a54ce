#include "text/text.h"

namespace {

// Page markers often contain double quotes; callers write them as "#引号".
std::string ExpandQuotes(const std::string& marker) {
  return TextReplace(marker, "#引号", "\"", 1, -1, true);
}

}  // namespace

std::string TextBetween(const std::string& text, const std::string& left,
                        const std::string& right, int start, bool ignoreCase) {
  const std::string l = ExpandQuotes(left);
  const std::string r = ExpandQuotes(right);
  int a = TextFind(text, l, start, ignoreCase);
  if (a == -1) return std::string();
  a += TextLength(l);
  // The right marker is searched from the first byte after the left one, so a right marker
  // that occurs only before the left one counts as missing.
  const int b = TextFind(text, r, a, ignoreCase);
  if (b == -1) return std::string();
  return TextMid(text, a, b - a);
}
