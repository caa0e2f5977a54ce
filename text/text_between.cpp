#include "text/text.h"

namespace {

const char kQuoteName[] = "#引号";

// Page markers often contain double quotes; callers write them as "#引号". Most markers have
// none, and those are used as they are, without a copy.
const std::string& ExpandQuotes(const std::string& marker, std::string& expanded) {
  if (marker.find(kQuoteName) == std::string::npos) return marker;
  expanded = TextReplace(marker, kQuoteName, "\"", 1, -1, true);
  return expanded;
}

}  // namespace

std::string TextBetween(const std::string& text, const std::string& left,
                        const std::string& right, int start, bool ignoreCase) {
  std::string leftExpanded, rightExpanded;
  const std::string& l = ExpandQuotes(left, leftExpanded);
  const std::string& r = ExpandQuotes(right, rightExpanded);
  int a = TextFind(text, l, start, ignoreCase);
  if (a == -1) return std::string();
  a += TextLength(l);
  // The right marker is searched from the first byte after the left one, so a right marker
  // that occurs only before the left one counts as missing.
  const int b = TextFind(text, r, a, ignoreCase);
  if (b == -1) return std::string();
  return TextMid(text, a, b - a);
}
