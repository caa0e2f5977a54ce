#include "web/url.h"

#include "text/text.h"

namespace {

// The last "." lying wholly before position `before`; -1 stays -1.
int DotBefore(const std::string& text, int before) {
  return before == -1 ? -1 : TextFindLast(text, ".", before);
}

std::string HostByScheme(std::string url, bool domainOnly) {
  if (TextRight(url, 1) != "/") url += "/";
  std::string host;
  if (TextLeft(url, 8) == "https://") {
    host = TextBetween(url, "https://", "/");
  } else {
    if (TextFind(url, "http://") == -1) url = "http://" + url;
    host = TextBetween(url, "http://", "/");
  }
  if (domainOnly) {
    const TextArray labels = TextSplit(host, ".");
    const int n = Count(labels);
    if (n >= 2) host = Element(labels, n - 1) + "." + Element(labels, n);
  }
  return host;
}

std::string HostByLevels(std::string url, bool domainOnly, int levels) {
  url = TextReplace(url, "http://");
  url = TextReplace(url, "https://");
  const int slash = TextFind(url, "/");
  if (slash != -1) url = TextLeft(url, slash - 1);
  const int length = TextLength(url);
  int p = length;
  for (int i = 0; i < levels; ++i) p = DotBefore(url, p);
  const int q = DotBefore(url, p);
  if (domainOnly) return q == -1 ? url : TextRight(url, length - q);
  if (q != -1) {
    const int r = DotBefore(url, q);
    if (r != -1) return TextRight(url, length - r);
  }
  return url;
}

}  // namespace

std::string UrlHost(const std::string& url, bool domainOnly, bool keepPort, std::optional<int> levels) {
  const std::string lower = TextLower(url);
  const std::string host = levels ? HostByLevels(lower, domainOnly, *levels) : HostByScheme(lower, domainOnly);
  if (keepPort) return host;
  const int colon = TextFind(host, ":");
  return colon == -1 ? host : TextLeft(host, colon - 1);
}

int UrlPort(const std::string& url) {
  const std::string host = UrlHost(url, false, true);
  if (TextFind(host, ":") != -1) {
    const int colon = TextFindLast(host, ":");
    return TextToInt(TextRight(host, TextLength(host) - colon));
  }
  return TextLower(TextLeft(url, 5)) == "https" ? 443 : 80;
}

std::string UrlPath(const std::string& url) {
  const std::string host = UrlHost(url);
  // Look for the host after the scheme: a short host such as "h" or "tp" also occurs inside
  // "http://", and finding it there would send "//h/x" as the object name.
  const std::string head = TextLower(TextLeft(url, 8));
  const int from = head.compare(0, 8, "https://") == 0   ? 9
                   : head.compare(0, 7, "http://") == 0 ? 8
                                                        : 1;
  const int a = TextFind(url, host, from, true);
  const int b = TextFind(url, "/", a);
  if (b <= 0) return "/";
  return TextRight(url, TextLength(url) - b + 1);
}

std::string HeaderValue(const std::string& text) {
  const int colon = TextFind(text, ":");
  if (colon == -1) return std::string();
  return TextTrim(TextRight(text, TextLength(text) - colon));
}
