#include "web/cookies.h"

std::string NormalizeSetCookie(const std::string& headerText) {
  return TextReplace(headerText, "Set-Cookie", "Set-Cookie");  // letter case ignored
}

std::string CollectResponseCookies(const std::string& headerText) {
  std::string cookies;
  for (const std::string& line : TextSplit(headerText, "\r\n")) {
    if (TextFind(line, "Set-Cookie") == -1) continue;
    // Only the first item of the header: its attributes (path, expiry, ...) are dropped.
    const std::string value = TextFind(line, ";") != -1 ? TextTrim(TextBetween(line, "Set-Cookie:", ";"))
                                                        : TextTrim(TextReplace(line, "Set-Cookie:"));
    cookies += value + "; ";
  }
  return TextLeft(cookies, TextLength(cookies) - 2);
}

std::string MergeCookies(std::string& jar, std::string& fresh) {
  jar = TextRemoveSpaces(jar);
  fresh = TextRemoveSpaces(fresh);
  const TextArray old = TextSplit(jar, ";");
  TextArray merged = TextSplit(fresh, ";");
  // An old item kept here hides later old items of its name: the first of them wins.
  for (const std::string& item : old)
    if (!CookieListHasName(merged, CookieName(item))) merged.push_back(item);
  jar.clear();
  for (const std::string& item : merged)
    if (TextRight(item, 8) != "=deleted") jar += item + "; ";
  jar = TextLeft(jar, TextLength(jar) - 2);
  jar = RemoveDuplicateItems(jar, "; ");
  return jar;
}

std::string CookieName(const std::string& item) {
  const int equals = TextFind(item, "=");
  return TextTrim(equals == -1 ? item : TextLeft(item, equals - 1));
}

bool CookieListHasName(const TextArray& items, const std::string& name) {
  for (const std::string& item : items)
    if (CookieName(item) == name) return true;
  return false;
}

std::string RemoveDuplicateItems(const std::string& text, const std::string& separator) {
  TextArray seen;
  std::string out;
  for (const std::string& piece : TextSplit(text, separator)) {
    if (FindItem(seen, piece) != -1) continue;
    seen.push_back(piece);
    out += piece + separator;
  }
  return TextLeft(out, TextLength(out) - TextLength(separator));
}

int FindItem(const TextArray& items, const std::string& text) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == text) return static_cast<int>(i) + 1;
  return -1;
}
