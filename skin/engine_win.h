// Keeping the windows of a thread skinned: a hook sees every window the thread creates, and
// each window is subclassed by kind (frame, push button, list header, progress bar).
#pragma once
#include <windows.h>

#include "skin/skin_format.h"

void SetEngineModule(HINSTANCE module);

// Gives the calling thread's windows, existing and later ones, the look of `skin`; a second call
// replaces the skin.
void AttachSkinToThread(const Skin& skin);

// Undoes the hook and every subclass of the calling thread (before the library is unloaded).
void DetachSkinFromThread();
