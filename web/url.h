// Cutting an address into what WinINet needs: host, port and object name; and the value of
// a header line.
#pragma once
#include <optional>
#include <string>

// The lower-cased host of `url`. `domainOnly` keeps only the last two labels (or, with
// `levels`, the labels that counting leaves); `keepPort` keeps a ":port" suffix. The presence
// of `levels`, not its value, selects the level-counting variant.
std::string UrlHost(const std::string& url, bool domainOnly = false, bool keepPort = false,
                    std::optional<int> levels = std::nullopt);
// The port written in the address, else 443 for an "https" address and 80 for any other.
int UrlPort(const std::string& url);
// The object name to request: from the first "/" after the host to the end, query included;
// "/" when the address has no path.
std::string UrlPath(const std::string& url);
// The trimmed text after the first ":" of a header line (or block); empty without ":".
std::string HeaderValue(const std::string& text);
