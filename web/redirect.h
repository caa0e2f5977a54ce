// Following redirects: which response sends the request on, to where, and with which verb.
// WebRequest follows them itself, hop by hop, so that a loop ends: Wine's WinINet follows a
// redirect loop for as long as the server keeps it up.
#pragma once
#include <optional>
#include <string>

// Hops followed before a request gives up as failed, as browsers do.
constexpr int kWebRequestRedirectLimit = 20;

// The absolute address `reference` names when read relative to `base` (a Location value
// against the address that answered): "scheme://…", "//host…", "/path", "?query" and plain
// relative paths, with "." and ".." segments removed and any "#fragment" dropped. Nothing
// when the reference is empty or names a scheme other than http or https.
std::optional<std::string> ResolveUrl(const std::string& base, const std::string& reference);

// Where a response with the raw header block `rawHeaders` (status line first) redirects a
// request for `url`: a 301, 302, 303, 307 or 308 status with a Location line that resolves
// to an http or https address. Nothing otherwise, and nothing for a redirect from https to
// plain http, which would send on in the clear what was asked for in secret.
std::optional<std::string> RedirectTarget(const std::string& url, const std::string& rawHeaders);

// The method (0 GET, 1 POST) of the next hop: a 303 always asks with GET, and so does a
// POST redirected by 301 or 302, as browsers do; 307 and 308 keep the method and its body.
int RedirectMethod(int method, const std::string& rawHeaders);

// Whether two addresses share scheme, host and port: a cookie jar the caller gave for one
// site is not sent to another that a redirect points at.
bool SameOrigin(const std::string& a, const std::string& b);
