// Cookies the caller keeps between requests: collecting those a response sets, and merging
// them into the caller's jar.
#pragma once
#include <string>

#include "text/text.h"

// Gives every "Set-Cookie", in any letter case, that exact spelling, so later searches that
// respect letter case find them.
std::string NormalizeSetCookie(const std::string& headerText);
// The first item (name=value) of every Set-Cookie line of the header text, joined by "; ".
std::string CollectResponseCookies(const std::string& headerText);
// Merges `fresh` into `jar`: fresh items first, then old ones whose names were not set anew,
// without "=deleted" items, repeated items or spaces. Both arguments lose their spaces; the
// jar receives the result, which is also returned.
std::string MergeCookies(std::string& jar, std::string& fresh);
// The trimmed text before the first "=" of an item; the whole item, trimmed, without "=".
std::string CookieName(const std::string& item);
// Whether some item of `items` has exactly the name `name` (letter case respected).
bool CookieListHasName(const TextArray& items, const std::string& name);
// The text's items, split at `separator`, each kept once at its first place.
std::string RemoveDuplicateItems(const std::string& text, const std::string& separator);
// The 1-based index of the first element equal to `text`, or -1.
int FindItem(const TextArray& items, const std::string& text);
