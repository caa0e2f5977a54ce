// A stand-in SkinH_EL.dll that records how it was called: it writes attach_record.bin beside
// itself with "<null> <size> <text length> <a> <b> <c>\n" followed by the bytes it was given.
// Built without SkinH_AttachRes (LACKS_ATTACH) it is a loadable library lacking the function.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
HINSTANCE g_self = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = instance;
  return TRUE;
}

#ifndef LACKS_ATTACH
extern "C" __declspec(dllexport) int __stdcall SkinH_AttachRes(const unsigned char* data, int size,
                                                               const char* text, int a, int b,
                                                               int c) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(g_self, path, MAX_PATH);
  std::string record(path, n);
  record = record.substr(0, record.rfind('\\')) + "\\attach_record.bin";
  FILE* f = std::fopen(record.c_str(), "wb");
  if (!f) return 0;
  std::fprintf(f, "%d %d %d %d %d %d\n", data == nullptr, size, text ? static_cast<int>(std::string(text).size()) : -1, a, b, c);
  if (data && size > 0) std::fwrite(data, 1, static_cast<size_t>(size), f);
  std::fclose(f);
  return 1;
}
#else
extern "C" __declspec(dllexport) int __stdcall SkinH_Detach() { return 0; }
#endif
