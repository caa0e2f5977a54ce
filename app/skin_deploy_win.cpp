#include "app/skin_deploy.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/dll_table.h"
#include "skin/skin_resources.h"

namespace {

// The engine's entry point as the program calls it: six 32-bit-compatible arguments, callee
// removes them.
using SkinAttachRes = int(__stdcall*)(const unsigned char* data, int size, const char* text,
                                      int, int, int);

// A resource of this program as bytes; empty when it is missing.
std::vector<unsigned char> ProgramResource(int id) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(self, found);
  const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
  if (!bytes) return {};
  return std::vector<unsigned char>(bytes, bytes + SizeofResource(self, found));
}

// Any entry counts, hidden ones and directories included: whatever is there is left alone.
bool FileExists(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  if (path.empty()) return false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                             &written, nullptr);
  CloseHandle(file);
  if (ok && written == bytes.size()) return true;
  // A library cut short (a full disk) would be found at every later start, never written again
  // and never loadable: take back what was created, so a later start can write it whole.
  DeleteFileA(path.c_str());
  return false;
}

bool SetAttributes(const std::string& path, DWORD value) {
  const DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                          FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  return SetFileAttributesA(path.c_str(), value & kSettable) != 0;
}

std::string EnginePath() { return ProgramDirectory() + "\\SkinH_EL.dll"; }

}  // namespace

void DeploySkinEngine() {
  if (FileExists(EnginePath())) return;
  // Failures go unnoticed: binding the engine below faults if no usable library is found.
  WriteWholeFile(EnginePath(), ProgramResource(kSkinEngineResource));
  SetAttributes(EnginePath(), FILE_ATTRIBUTE_HIDDEN);
}

void ApplyEmbeddedSkin(int number) {
  DeploySkinEngine();
  // A fresh copy: the engine takes what it needs during the call, and the copy is freed after.
  std::vector<unsigned char> skin;
  if (number >= 1 && number <= kSkinCount) skin = ProgramResource(kFirstSkinResource + number - 1);
  const auto attach = External<SkinAttachRes>(kSkinH_AttachRes);
  attach(skin.empty() ? nullptr : skin.data(), static_cast<int>(skin.size()), "", 0, 0, 0);
}
