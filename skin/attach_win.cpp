// The library's one entry point. It never fails loudly: an image it cannot read is ignored and
// the windows keep their look.
#include <windows.h>

#include "skin/engine_win.h"
#include "skin/skin_format.h"

// MSVC exports it through SkinH_EL.def, which keeps the name plain; MinGW through --kill-at.
#ifdef _MSC_VER
#define TC_SKIN_EXPORT
#else
#define TC_SKIN_EXPORT __declspec(dllexport)
#endif

extern "C" TC_SKIN_EXPORT int __stdcall SkinH_AttachRes(const unsigned char* data, int size,
                                                               const char* /*password*/,
                                                               int /*reserved1*/, int /*reserved2*/,
                                                               int /*reserved3*/) {
  if (data == nullptr || size <= 0) return 0;
  // ParseSkin copies everything it keeps: the caller frees the image when this returns.
  const std::optional<Skin> skin = ParseSkin(data, static_cast<size_t>(size));
  if (!skin) return 0;
  AttachSkinToThread(*skin);
  return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    SetEngineModule(instance);
  }
  // Unloaded while the process goes on: no window may keep calling into freed code. At process
  // exit nothing will run again, so nothing is undone.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) DetachSkinFromThread();
  return TRUE;
}
