// The collector's window operations, carried out on the main window's controls.
#pragma once
#include <windows.h>

#include "collect/collector.h"

// Bound to the controls' handles, not to the window's state: a window closed during a pump
// leaves operations that quietly do nothing, and PumpEvents reports it gone.
CollectorView MainWindowView(HWND window);

// Lets the task list paint again after the view's operations held it; called when a command
// is done with the view.
void ReleaseViewRedraw(HWND window);
