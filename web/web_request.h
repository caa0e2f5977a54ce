// One HTTP or HTTPS request through WinINet; the response body, empty when the request
// failed at any stage. Absent outputs (null pointers) are not delivered; a null `cookieJar`
// and an empty `proxy` mean absent, which differs from present but empty.
#pragma once
#include <optional>
#include <string>

#include "text/text.h"

Bytes WebRequest(const std::string& url, int method = 0, const std::string& bodyText = std::string(),
                 std::string* cookieJar = nullptr, std::string* newCookies = nullptr,
                 const std::string& extraHeaders = std::string(),
                 std::string* responseHeaders = nullptr, bool noRedirect = false,
                 const Bytes& bodyBytes = Bytes(),
                 const std::optional<std::string>& proxy = std::nullopt);
