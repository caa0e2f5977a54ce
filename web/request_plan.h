// Everything about a request that can be decided before WinINet is called: verb, secure
// flag, user agent, header block, request flags, proxy list and body.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "text/text.h"

extern const char kDefaultUserAgent[];

// "POST" for method 1, "GET" for any other value.
std::string RequestVerb(int method);
// Whether the address starts with "https" in any letter case.
bool IsSecureUrl(const std::string& url);
// The agent named by a "User-Agent:" line of the extra headers, else the default agent.
std::string ChooseUserAgent(const std::string& extraHeaders);
// The caller's header lines completed with Accept, Accept-Language and Content-Type lines
// where missing, and a Cookie line when the jar holds something.
std::string HeaderBlock(const std::string& extraHeaders, const std::string* cookieJar);
// The flags for HttpOpenRequestA.
uint32_t RequestFlags(bool secure, bool cookieJarPresent, bool noRedirect);
// The proxy list for InternetOpenA: the proxy for every protocol on a secure address, for
// plain HTTP only otherwise.
std::string ProxyList(const std::string& proxy, bool secure);
// The body sent when `method` is not 0: `bodyBytes` when not empty, else the text's bytes.
Bytes RequestBody(const std::string& bodyText, const Bytes& bodyBytes);
