// Limits that keep one request from blocking the program or filling its memory: a server
// that goes silent or never stops sending. Tests lower them to reach the limits quickly.
#pragma once
#include <cstddef>

// Connect, send and receive time-out set on every request. Wine's own receive time-out is
// infinite, so without it a silent server freezes the window thread for good.
constexpr unsigned long kWebRequestTimeoutMs = 30 * 1000;
// Reading stops once the body holds this many bytes; what was read is returned.
constexpr size_t kWebRequestBodyCap = size_t{64} << 20;

unsigned long WebRequestTimeoutMs();
size_t WebRequestBodyCap();
void SetWebRequestTimeoutMs(unsigned long ms);  // for tests
void SetWebRequestBodyCap(size_t bytes);        // for tests
