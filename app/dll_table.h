// The external-function table: library functions called by library file name and function
// name, bound at their first call. It depends on nothing else of ours, so text/ and web/
// can call through it.
#pragma once
#ifdef _WIN32
#include <windows.h>

#include <string>

struct ExternalEntry {
  const char* library;   // empty (or null): search the six system libraries
  const char* function;
  FARPROC proc;          // bound entry point, null until the first call
  HMODULE module;        // the library loaded for this entry, null until the first call
};

enum ExternalEntryId {
  kInternetOpenA = 0,
  kInternetCloseHandle = 1,
  kInternetConnectA = 2,
  kHttpOpenRequestA = 3,
  kHttpSendRequestA = 4,      // without a body
  kHttpSendRequestBodyA = 5,  // with a body: same function, bound on its own
  kInternetReadFile = 6,
  kHttpQueryInfoA = 7,
  kMultiByteToWideChar = 8,
  kWideCharToMultiByte = 9,
  kSkinH_AttachRes = 10,
  kExternalEntryCount = 11
};

// Binds entry `id` of the program's table (loading its library at the first call) and returns
// the entry point; a library or function that cannot be found is a fault that ends the program.
FARPROC ExternalProc(int id);

// Fn is a pointer type declared WINAPI: every function of the table uses the standard calling
// convention, which on 32-bit Windows differs from the compiler's default.
template <class Fn>
Fn External(int id) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(ExternalProc(id)));
}

// Binds any entry by the table's rules; the program's table and the tests both use it.
FARPROC BindExternalEntry(ExternalEntry& entry);

// Start-up: every entry unbound. End: every library loaded for an entry released.
void ResetExternalTable();
void ReleaseExternalLibraries();

// The program's table, for tests that inspect what was loaded.
ExternalEntry* ExternalTable();

// Directory of the program file, without a trailing backslash ("C:" for the root of C).
std::string ProgramDirectory();
#endif
