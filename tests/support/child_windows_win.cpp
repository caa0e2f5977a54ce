// A child process's windows and files as the Windows tests read them (see child_windows_win.h).
#include "tests/support/child_windows_win.h"

namespace {

struct Search {
  DWORD pid;
  const std::wstring* cls;
  TitleIs how;
  const std::string* title;
  HWND found;
};

bool TitleFits(const std::string& shown, TitleIs how, const std::string& title) {
  switch (how) {
    case TitleIs::kEqual: return shown == title;
    case TitleIs::kStartingWith: return shown.compare(0, title.size(), title) == 0;
    case TitleIs::kOther: return shown != title;
  }
  return false;
}

BOOL CALLBACK CheckWindow(HWND w, LPARAM param) {
  Search* s = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == s->pid && IsWindowVisible(w) && (s->cls->empty() || ClassName(w) == *s->cls) &&
      TitleFits(ToCp936(WindowText(w)), s->how, *s->title)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND w, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(w);
  return TRUE;
}

}  // namespace

std::string ToCp936(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(936, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(936, 0, text.data(), size, &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring WindowText(HWND w) {
  wchar_t buf[1024];
  return std::wstring(buf, static_cast<size_t>(GetWindowTextW(w, buf, 1024)));
}

std::wstring ClassName(HWND w) {
  wchar_t buf[256];
  return std::wstring(buf, static_cast<size_t>(GetClassNameW(w, buf, 256)));
}

HWND FindShownWindow(DWORD pid, const std::wstring& cls, TitleIs how, const std::string& title) {
  Search s = {pid, &cls, how, &title, nullptr};
  EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::vector<unsigned char> bytes;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(f, nullptr));
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  CloseHandle(f);
  return bytes;
}

FILETIME WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}
