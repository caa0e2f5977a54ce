#include "app/dll_table.h"

#include "app/fault.h"

namespace {

ExternalEntry g_table[kExternalEntryCount] = {
    {"wininet.dll", "InternetOpenA", nullptr, nullptr},
    {"wininet.dll", "InternetCloseHandle", nullptr, nullptr},
    {"wininet.dll", "InternetConnectA", nullptr, nullptr},
    {"wininet.dll", "HttpOpenRequestA", nullptr, nullptr},
    {"wininet.dll", "HttpSendRequestA", nullptr, nullptr},
    {"wininet.dll", "HttpSendRequestA", nullptr, nullptr},
    {"wininet.dll", "InternetReadFile", nullptr, nullptr},
    {"wininet.dll", "HttpQueryInfoA", nullptr, nullptr},
    {"", "MultiByteToWideChar", nullptr, nullptr},
    {"kernel32.dll", "WideCharToMultiByte", nullptr, nullptr},
    {"SkinH_EL.dll", "SkinH_AttachRes", nullptr, nullptr},
};

// Where an entry names no library, these are tried in this order.
const char* const kSystemLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                        "Advapi32.dll", "Mpr.dll", "Shell32.dll"};

bool NamesNoLibrary(const ExternalEntry& entry) {
  return entry.library == nullptr || entry.library[0] == '\0';
}

[[noreturn]] void BindingFault(const ExternalEntry& entry) {
  const std::string function = entry.function;
  if (NamesNoLibrary(entry)) RaiseFault("无法找到指定DLL库文件中的输出命令“" + function + "”");
  RaiseFault("无法找到指定DLL库文件“" + std::string(entry.library) + "”中的输出命令“" + function + "”");
}

}  // namespace

std::string ProgramDirectory() {
  char path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string full(path, n < sizeof path ? n : 0);
  const size_t slash = full.rfind('\\');
  return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

FARPROC BindExternalEntry(ExternalEntry& entry) {
  if (entry.proc) return entry.proc;
  HMODULE module = nullptr;
  FARPROC proc = nullptr;
  if (NamesNoLibrary(entry)) {
    for (const char* name : kSystemLibraries) {
      HMODULE m = LoadLibraryA(name);
      if (!m) continue;
      if ((proc = GetProcAddress(m, entry.function)) != nullptr) {
        module = m;
        break;
      }
      FreeLibrary(m);
    }
  } else {
    // The program directory first, so a library shipped beside the program wins; a library
    // found there that lacks the function is not passed over.
    // An unknown program directory must not turn into "\name", the root of the current drive.
    const std::string dir = ProgramDirectory();
    if (!dir.empty()) module = LoadLibraryA((dir + "\\" + entry.library).c_str());
    if (!module) module = LoadLibraryA(entry.library);
    if (module) proc = GetProcAddress(module, entry.function);
  }
  if (!proc) {
    if (module) FreeLibrary(module);
    BindingFault(entry);
  }
  entry.module = module;
  entry.proc = proc;
  return proc;
}

FARPROC ExternalProc(int id) {
  ExternalEntry& entry = g_table[id];
  return entry.proc ? entry.proc : BindExternalEntry(entry);
}

ExternalEntry* ExternalTable() { return g_table; }

void ResetExternalTable() {
  for (ExternalEntry& e : g_table) e.proc = nullptr, e.module = nullptr;
}

void ReleaseExternalLibraries() {
  for (ExternalEntry& e : g_table) {
    if (e.module) FreeLibrary(e.module);
    e.module = nullptr;
    e.proc = nullptr;
  }
}
