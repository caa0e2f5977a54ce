#include "web/web_limits.h"

namespace {
unsigned long g_timeoutMs = kWebRequestTimeoutMs;
size_t g_bodyCap = kWebRequestBodyCap;
}  // namespace

unsigned long WebRequestTimeoutMs() { return g_timeoutMs; }
size_t WebRequestBodyCap() { return g_bodyCap; }
void SetWebRequestTimeoutMs(unsigned long ms) { g_timeoutMs = ms; }
void SetWebRequestBodyCap(size_t bytes) { g_bodyCap = bytes; }
