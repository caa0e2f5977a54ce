// Limits that keep one request from blocking the program or filling its memory: a server
// that goes silent or never stops sending. Tests lower them to reach the limits quickly.
#pragma once
#include <cstddef>

// Connect, send and receive time-out set on every request. Without it a silent server held
// a request under Wine for more than 200 s (no receive time-out by default; connect: 60 s),
// with the window thread frozen all along.
constexpr unsigned long kWebRequestTimeoutMs = 30 * 1000;
// Reading stops once the body holds this many bytes; what was read is returned.
constexpr size_t kWebRequestBodyCap = size_t{64} << 20;
// Reading also stops this long after it began, with what was read: a server trickling a
// byte now and then never lets the receive time-out expire nor the body reach the cap.
constexpr unsigned long kWebRequestReadDeadlineMs = 120 * 1000;

unsigned long WebRequestTimeoutMs();
size_t WebRequestBodyCap();
unsigned long WebRequestReadDeadlineMs();
void SetWebRequestTimeoutMs(unsigned long ms);  // for tests; 0 leaves the platform's own
void SetWebRequestBodyCap(size_t bytes);        // for tests
void SetWebRequestReadDeadlineMs(unsigned long ms);  // for tests
