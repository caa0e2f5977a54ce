#include "web/web_limits.h"

namespace {
unsigned long g_timeoutMs = kWebRequestTimeoutMs;
size_t g_bodyCap = kWebRequestBodyCap;
unsigned long g_readDeadlineMs = kWebRequestReadDeadlineMs;
}  // namespace

unsigned long WebRequestTimeoutMs() { return g_timeoutMs; }
size_t WebRequestBodyCap() { return g_bodyCap; }
void SetWebRequestTimeoutMs(unsigned long ms) { g_timeoutMs = ms; }
void SetWebRequestBodyCap(size_t bytes) { g_bodyCap = bytes; }
unsigned long WebRequestReadDeadlineMs() { return g_readDeadlineMs; }
void SetWebRequestReadDeadlineMs(unsigned long ms) { g_readDeadlineMs = ms; }
