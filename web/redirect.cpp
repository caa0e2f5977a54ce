#include "web/redirect.h"

#include <cctype>
#include <vector>

#include "text/text.h"
#include "web/request_plan.h"

namespace {

struct UrlParts {
  std::string scheme;     // "http" or "https"
  std::string authority;  // host and port as written
  std::string path;       // empty or starting with "/"
  std::string query;      // empty or starting with "?"
};

// HTTP's blanks around a header value are spaces and tabs; TextTrim takes the full-width
// space instead of the tab, which suits texts of the page, not header lines.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& text) {
  size_t a = 0, b = text.size();
  while (a < b && IsBlank(text[a])) ++a;
  while (b > a && IsBlank(text[b - 1])) --b;
  return text.substr(a, b - a);
}

// The scheme a reference starts with ("http" for "HTTP://x"), or empty when it has none:
// a ":" must come before any "/", "?" or "#" and follow only scheme characters.
std::string SchemeOf(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon > text.find_first_of("/?#")) return std::string();
  for (size_t i = 0; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return std::string();
  }
  return TextLower(text.substr(0, colon));
}

std::string WithoutFragment(const std::string& text) { return text.substr(0, text.find('#')); }

// Path and query of what follows the authority (or of a relative reference).
void SplitPathQuery(const std::string& rest, UrlParts& parts) {
  const size_t q = rest.find('?');
  parts.path = rest.substr(0, q);
  parts.query = q == std::string::npos ? std::string() : rest.substr(q);
}

// An address without a scheme is taken as plain http, as the host dissection does.
std::optional<UrlParts> Split(const std::string& url) {
  UrlParts parts;
  std::string rest = WithoutFragment(url);
  const std::string scheme = SchemeOf(rest);
  if (!scheme.empty()) {
    if ((scheme != "http" && scheme != "https") || rest.compare(scheme.size(), 3, "://") != 0) return std::nullopt;
    parts.scheme = scheme;
    rest.erase(0, scheme.size() + 3);
  } else {
    parts.scheme = "http";
  }
  const size_t end = rest.find_first_of("/?");
  parts.authority = rest.substr(0, end);
  if (parts.authority.empty()) return std::nullopt;
  SplitPathQuery(end == std::string::npos ? std::string() : rest.substr(end), parts);
  return parts;
}

// "/a/b/../c/./d" → "/a/c/d"; a ".." above the root stays at the root.
std::string RemoveDotSegments(const std::string& path) {
  std::vector<std::string> kept;
  size_t start = 1;  // past the leading "/"
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string segment = path.substr(start, end - start);
    const bool last = end == path.size();
    if (segment == "..") {
      if (!kept.empty()) kept.pop_back();
      if (last) kept.emplace_back();  // "/a/.." names the directory "/"
    } else if (segment == ".") {
      if (last) kept.emplace_back();
    } else {
      kept.push_back(segment);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& segment : kept) out += "/" + segment;
  return out.empty() ? "/" : out;
}

std::string Join(const UrlParts& parts) {
  return parts.scheme + "://" + parts.authority + RemoveDotSegments(parts.path.empty() ? "/" : parts.path) +
         parts.query;
}

// The status line's code: "HTTP/1.1 302 Found" → 302; 0 when there is none.
int ResponseStatus(const std::string& rawHeaders) {
  const size_t space = rawHeaders.find(' ');
  if (space == std::string::npos || rawHeaders.size() < space + 4) return 0;
  int code = 0;
  for (size_t i = space + 1; i < space + 4; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(rawHeaders[i]))) return 0;
    code = code * 10 + (rawHeaders[i] - '0');
  }
  return code;
}

// The trimmed value of the first header line named `name` (any letter case), after the
// status line; nothing when no line has that name.
std::optional<std::string> HeaderLine(const std::string& rawHeaders, const std::string& name) {
  size_t start = rawHeaders.find('\n');
  while (start != std::string::npos) {
    ++start;
    size_t end = rawHeaders.find('\n', start);
    std::string line = rawHeaders.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t colon = line.find(':');
    if (colon != std::string::npos && TextLower(Trim(line.substr(0, colon))) == name) return Trim(line.substr(colon + 1));
    start = end;
  }
  return std::nullopt;
}

bool IsRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

std::optional<std::string> ResolveUrl(const std::string& base, const std::string& reference) {
  const std::string trimmed = Trim(reference);
  if (trimmed.empty()) return std::nullopt;
  const std::string ref = WithoutFragment(trimmed);
  const std::optional<UrlParts> from = Split(base);
  if (!from) return std::nullopt;
  if (!SchemeOf(ref).empty()) {
    const std::optional<UrlParts> absolute = Split(ref);
    if (!absolute) return std::nullopt;
    return Join(*absolute);
  }
  if (ref.compare(0, 2, "//") == 0) {
    const std::optional<UrlParts> other = Split(from->scheme + ":" + ref);
    if (!other) return std::nullopt;
    return Join(*other);
  }
  UrlParts to = *from;
  if (ref.empty()) return Join(to);  // "#x": the same address
  UrlParts relative;
  SplitPathQuery(ref, relative);
  if (relative.path.empty()) {  // "?q": same path, new query
    to.query = relative.query;
  } else if (relative.path[0] == '/') {
    to.path = relative.path;
    to.query = relative.query;
  } else {  // relative to the directory of the base path
    const std::string basePath = from->path.empty() ? "/" : from->path;
    to.path = basePath.substr(0, basePath.rfind('/') + 1) + relative.path;
    to.query = relative.query;
  }
  return Join(to);
}

std::optional<std::string> RedirectTarget(const std::string& url, const std::string& rawHeaders) {
  if (!IsRedirectStatus(ResponseStatus(rawHeaders))) return std::nullopt;
  const std::optional<std::string> location = HeaderLine(rawHeaders, "location");
  if (!location) return std::nullopt;
  const std::optional<std::string> target = ResolveUrl(url, *location);
  if (!target) return std::nullopt;
  // Judged as the request was sent: secure when the address starts with "https".
  if (IsSecureUrl(url) && Split(*target)->scheme == "http") return std::nullopt;
  return target;
}

int RedirectMethod(int method, const std::string& rawHeaders) {
  const int status = ResponseStatus(rawHeaders);
  if (status == 303 || (method == 1 && (status == 301 || status == 302))) return 0;
  return method;
}

bool SameOrigin(const std::string& a, const std::string& b) {
  const std::optional<UrlParts> x = Split(a), y = Split(b);
  return x && y && x->scheme == y->scheme && TextLower(x->authority) == TextLower(y->authority);
}
