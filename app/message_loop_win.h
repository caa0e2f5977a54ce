// Taking messages off the user-interface thread's queue: the program's loop, and the pump a
// collection runs at the start of each page.
#pragma once
#include <windows.h>

// Dispatches every message until the quit message arrives; returns its exit code.
int RunMessageLoop(HWND window);

// Dispatches the messages already waiting, one at a time, until the queue is empty or the next
// one is the quit message, which stays queued. False once `window` is gone.
bool PumpWaitingMessages(HWND window);
