// WebRequest over WinINet. Every WinINet function is reached through the external-function
// table, so the program does not import wininet.dll and starts even where it is missing.
#include "web/web_request.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>
#include <memory>
#include <type_traits>

#include "app/dll_table.h"
#include "web/cookies.h"
#include "web/redirect.h"
#include "web/request_plan.h"
#include "web/url.h"
#include "web/web_limits.h"

namespace {

// Function types only: taking them from the declarations imports nothing.
using InternetOpenFn = decltype(&InternetOpenA);
using InternetConnectFn = decltype(&InternetConnectA);
using HttpOpenRequestFn = decltype(&HttpOpenRequestA);
using HttpSendRequestFn = decltype(&HttpSendRequestA);
using InternetReadFileFn = decltype(&InternetReadFile);
using HttpQueryInfoFn = decltype(&HttpQueryInfoA);
using InternetCloseHandleFn = decltype(&InternetCloseHandle);
using InternetSetOptionFn = decltype(&InternetSetOptionA);
using InternetQueryDataAvailableFn = decltype(&InternetQueryDataAvailable);
using InternetQueryOptionFn = decltype(&InternetQueryOptionA);
using DeleteUrlCacheEntryFn = decltype(&DeleteUrlCacheEntryA);

constexpr DWORD kReadChunk = 1024;
constexpr DWORD kHeaderRoom = 5000;

struct InternetHandleCloser {
  void operator()(void* handle) const { External<InternetCloseHandleFn>(kInternetCloseHandle)(handle); }
};
using InternetHandle = std::unique_ptr<std::remove_pointer<HINTERNET>::type, InternetHandleCloser>;

// InternetSetOptionA, InternetQueryDataAvailable, InternetQueryOptionA and DeleteUrlCacheEntryA
// are not in the external-function table; they are taken from the wininet.dll the table loaded
// for InternetOpenA, so nothing new is imported. Null if missing there: then the platform's
// time-outs apply, reads ask for a whole chunk and the cache keeps its entries.
template <class Fn>
Fn WininetFunction(const char* name) {
  const HMODULE wininet = ExternalTable()[kInternetOpenA].module;
  if (!wininet) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(wininet, name)));
}

InternetSetOptionFn SetOptionFunction() { return WininetFunction<InternetSetOptionFn>("InternetSetOptionA"); }

// A silent server would otherwise hold the window thread for good: under Wine a request
// waited more than 200 s with the defaults. Set on the internet handle and again on the
// request, whichever of them the platform consults. Wine applies them only once a TLS
// handshake is done, so a server that accepts an https connection and then says nothing
// still blocks there.
void SetTimeouts(HINTERNET handle) {
  const InternetSetOptionFn setOption = SetOptionFunction();
  DWORD ms = WebRequestTimeoutMs();
  if (!setOption || ms == 0) return;
  for (DWORD option : {DWORD{INTERNET_OPTION_CONNECT_TIMEOUT}, DWORD{INTERNET_OPTION_SEND_TIMEOUT},
                       DWORD{INTERNET_OPTION_RECEIVE_TIMEOUT}})
    setOption(handle, option, &ms, sizeof ms);
}

Bytes ReadBody(HINTERNET request) {
  const auto read = External<InternetReadFileFn>(kInternetReadFile);
  const auto available = WininetFunction<InternetQueryDataAvailableFn>("InternetQueryDataAvailable");
  const size_t cap = WebRequestBodyCap();
  const ULONGLONG deadline = GetTickCount64() + WebRequestReadDeadlineMs();
  Bytes body;
  DWORD count = 0;
  uint8_t chunk[kReadChunk];
  // A failed read delivers a count of 0 and ends the loop like the end of the data. The cap
  // and the deadline stop a body that never ends or only trickles; what was read is kept.
  while (body.size() < cap && GetTickCount64() < deadline) {
    std::memset(chunk, 0, sizeof chunk);
    // InternetReadFile waits until its whole chunk has arrived, so a trickling server would
    // hold one read for ever; asking for no more than has arrived keeps each read short and
    // lets the deadline be checked.
    DWORD want = kReadChunk, ready = 0;
    if (available && available(request, &ready, 0, 0) && ready > 0 && ready < want) want = ready;
    // Reads shorter than a chunk would otherwise step over the cap; the body stops exactly at it.
    if (cap - body.size() < want) want = static_cast<DWORD>(cap - body.size());
    read(request, chunk, want, &count);
    if (count == 0) break;
    body.insert(body.end(), chunk, chunk + count);
  }
  return body;
}

// The raw response headers; 5000 spaces when they cannot be had.
std::string QueryHeaders(HINTERNET request) {
  const auto query = External<HttpQueryInfoFn>(kHttpQueryInfoA);
  std::string text = Spaces(kHeaderRoom);
  DWORD length = kHeaderRoom;
  if (!query(request, HTTP_QUERY_RAW_HEADERS_CRLF, &text[0], &length, nullptr) &&
      GetLastError() == ERROR_INSUFFICIENT_BUFFER && length > kHeaderRoom) {
    // Long headers (many cookies) would otherwise be lost with every cookie in them; ask
    // again with the room WinINet says it needs.
    std::string larger = Spaces(static_cast<int>(length) + 1);
    DWORD largerLength = length + 1;
    if (query(request, HTTP_QUERY_RAW_HEADERS_CRLF, &larger[0], &largerLength, nullptr)) text.swap(larger);
  }
  text.resize(std::strlen(text.c_str()));
  return NormalizeSetCookie(text);
}

// The address WinINet files the response under in its cache; empty when it will not say.
std::string CacheKey(HINTERNET request) {
  const auto query = WininetFunction<InternetQueryOptionFn>("InternetQueryOptionA");
  if (!query) return std::string();
  std::string key(INTERNET_MAX_URL_LENGTH, '\0');
  DWORD length = static_cast<DWORD>(key.size());
  if (!query(request, INTERNET_OPTION_URL, &key[0], &length)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= key.size()) return std::string();
    key.assign(length + 1, '\0');
    length = static_cast<DWORD>(key.size());
    if (!query(request, INTERNET_OPTION_URL, &key[0], &length)) return std::string();
  }
  key.resize(std::strlen(key.c_str()));
  return key;
}

// Every response is fetched afresh and read from the request, never from the cache, yet
// WinINet files each one there (the request asks for a cache file). Left alone, the cache
// grew by an entry per page address: over a 1,000-page collection the program's memory
// grew with it, and the disk filled with listing pages. Called once the request is closed.
void ForgetCacheEntry(const std::string& key) {
  const auto remove = WininetFunction<DeleteUrlCacheEntryFn>("DeleteUrlCacheEntryA");
  if (remove && !key.empty()) remove(key.c_str());
}

// One request on its own handles, sent; the body is still to be read from `request`.
// Members close in reverse order: the request, then the connection, then the internet handle.
struct Exchange {
  InternetHandle internet;
  InternetHandle connection;
  InternetHandle request;
};

Exchange Send(const std::string& url, int method, const std::string& agent, const std::string& headers,
              bool cookieJarPresent, const Bytes& body, const std::optional<std::string>& proxy) {
  const std::string verb = RequestVerb(method);
  const bool secure = IsSecureUrl(url);
  Exchange x;
  const auto open = External<InternetOpenFn>(kInternetOpenA);
  if (proxy) {
    const std::string proxyList = ProxyList(*proxy, secure);
    x.internet.reset(open(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyList.c_str(), "", 0));
  } else {
    x.internet.reset(open(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  }
  if (!x.internet) return x;
  SetTimeouts(x.internet.get());

  const std::string host = UrlHost(url);
  x.connection.reset(External<InternetConnectFn>(kInternetConnectA)(
      x.internet.get(), host.c_str(), static_cast<INTERNET_PORT>(UrlPort(url)), nullptr, nullptr,
      INTERNET_SERVICE_HTTP, 0, 0));
  if (!x.connection) return x;

  // Redirects are never left to WinINet: under Wine it follows a loop without end. The
  // caller follows them itself, up to a limit.
  const std::string path = UrlPath(url);
  x.request.reset(External<HttpOpenRequestFn>(kHttpOpenRequestA)(
      x.connection.get(), verb.c_str(), path.c_str(), "HTTP/1.1", nullptr, nullptr,
      RequestFlags(secure, cookieJarPresent, true), 0));
  if (!x.request) return x;
  SetTimeouts(x.request.get());

  const DWORD headersLength = static_cast<DWORD>(headers.size());
  if (method == 0) {
    External<HttpSendRequestFn>(kHttpSendRequestA)(x.request.get(), headers.c_str(), headersLength, nullptr, 0);
  } else {
    External<HttpSendRequestFn>(kHttpSendRequestBodyA)(x.request.get(), headers.c_str(), headersLength,
                                                       body.empty() ? nullptr : const_cast<uint8_t*>(body.data()),
                                                       static_cast<DWORD>(body.size()));
  }
  return x;
}

}  // namespace

Bytes WebRequest(const std::string& url, int method, const std::string& bodyText, std::string* cookieJar,
                 std::string* newCookies, const std::string& extraHeaders, std::string* responseHeaders,
                 bool noRedirect, const Bytes& bodyBytes, const std::optional<std::string>& proxy) {
  const std::string agent = ChooseUserAgent(extraHeaders);
  const Bytes sent = RequestBody(bodyText, bodyBytes);
  std::string address = url;
  for (int hop = 0;; ++hop) {
    // The caller's jar belongs to the site it asked; a redirect elsewhere does not get it.
    const std::string headers = HeaderBlock(extraHeaders, SameOrigin(address, url) ? cookieJar : nullptr);
    std::string headerText, cacheKey;
    std::optional<std::string> next;
    Bytes body;
    {
      const Exchange x = Send(address, method, agent, headers, cookieJar != nullptr, sent, proxy);
      if (!x.request) return Bytes();  // whatever was opened closes in order
      cacheKey = CacheKey(x.request.get());
      headerText = QueryHeaders(x.request.get());
      if (!noRedirect) next = RedirectTarget(address, headerText);
      if (!next) body = ReadBody(x.request.get());
    }  // the handles close here, before the cache entry goes
    ForgetCacheEntry(cacheKey);
    if (next) {
      if (hop == kWebRequestRedirectLimit) return Bytes();  // a loop, or as good as one
      method = RedirectMethod(method, headerText);
      address = *next;
      continue;
    }
    if (responseHeaders) *responseHeaders = headerText;
    std::string cookies = CollectResponseCookies(headerText);
    if (cookieJar) MergeCookies(*cookieJar, cookies);
    if (newCookies) *newCookies = cookies;
    return body;
  }
}
