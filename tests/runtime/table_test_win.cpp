// The external-function table against real libraries under Wine: probe libraries the build
// puts in this program's directory and in "elsewhere" (reached through the current directory),
// and the system libraries of the program's own table.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/dll_table.h"

namespace {

using ProbeFn = int(WINAPI*)();

int CallProbe(FARPROC proc) { return reinterpret_cast<ProbeFn>(reinterpret_cast<void*>(proc))(); }

std::string Elsewhere() { return ProgramDirectory() + "\\elsewhere"; }

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(module, path, sizeof path);
  return std::string(path, n);
}

bool SamePath(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

// Every test starts in "elsewhere", so a bare-name load can find what lies there, and leaves
// the program's table unbound.
class ExternalTableTest : public testing::Test {
 protected:
  void SetUp() override {
    char cwd[MAX_PATH * 4];
    saved_ = std::string(cwd, GetCurrentDirectoryA(sizeof cwd, cwd));
    ASSERT_TRUE(SetCurrentDirectoryA(Elsewhere().c_str())) << Elsewhere();
    ResetExternalTable();
  }
  void TearDown() override {
    ReleaseExternalLibraries();
    SetCurrentDirectoryA(saved_.c_str());
  }
  std::string saved_;
};

TEST_F(ExternalTableTest, ProgramTableHoldsTheElevenEntriesUnbound) {
  const struct {
    const char *library, *function;
  } expected[kExternalEntryCount] = {
      {"wininet.dll", "InternetOpenA"},    {"wininet.dll", "InternetCloseHandle"},
      {"wininet.dll", "InternetConnectA"}, {"wininet.dll", "HttpOpenRequestA"},
      {"wininet.dll", "HttpSendRequestA"}, {"wininet.dll", "HttpSendRequestA"},
      {"wininet.dll", "InternetReadFile"}, {"wininet.dll", "HttpQueryInfoA"},
      {"", "MultiByteToWideChar"},         {"kernel32.dll", "WideCharToMultiByte"},
      {"SkinH_EL.dll", "SkinH_AttachRes"},
  };
  const ExternalEntry* table = ExternalTable();
  for (int i = 0; i < kExternalEntryCount; ++i) {
    EXPECT_STREQ(table[i].library, expected[i].library) << i;
    EXPECT_STREQ(table[i].function, expected[i].function) << i;
    EXPECT_EQ(table[i].proc, nullptr) << i;
    EXPECT_EQ(table[i].module, nullptr) << i;
  }
}

TEST_F(ExternalTableTest, ProgramDirectoryHasNoTrailingBackslash) {
  const std::string dir = ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_TRUE(SamePath(dir + "\\runtime_table_test.exe", ModulePath(nullptr))) << dir;
}

TEST_F(ExternalTableTest, LibraryInProgramDirectoryWinsOverOneFoundBySearch) {
  ExternalEntry e = {"tcprobe.dll", "ProbeValue", nullptr, nullptr};
  ASSERT_NE(BindExternalEntry(e), nullptr);
  EXPECT_EQ(CallProbe(e.proc), 1);
  EXPECT_TRUE(SamePath(ModulePath(e.module), ProgramDirectory() + "\\tcprobe.dll"))
      << ModulePath(e.module);
  FreeLibrary(e.module);
}

// A namesake already loaded from elsewhere is what a bare-name load would hand back; the
// program directory's copy must still be the one bound.
TEST_F(ExternalTableTest, LibraryInProgramDirectoryWinsOverALoadedNamesake) {
  HMODULE other = LoadLibraryA((Elsewhere() + "\\tcprobe.dll").c_str());
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(CallProbe(GetProcAddress(other, "ProbeValue")), 2);
  ExternalEntry e = {"tcprobe.dll", "ProbeValue", nullptr, nullptr};
  ASSERT_NE(BindExternalEntry(e), nullptr);
  EXPECT_EQ(CallProbe(e.proc), 1);
  EXPECT_NE(e.module, other);
  FreeLibrary(e.module);
  FreeLibrary(other);
}

TEST_F(ExternalTableTest, LibraryOutsideProgramDirectoryIsLoadedByBareName) {
  ExternalEntry e = {"tcfar.dll", "ProbeValue", nullptr, nullptr};
  ASSERT_NE(BindExternalEntry(e), nullptr);
  EXPECT_EQ(CallProbe(e.proc), 3);
  EXPECT_TRUE(SamePath(ModulePath(e.module), Elsewhere() + "\\tcfar.dll")) << ModulePath(e.module);
  FreeLibrary(e.module);
}

TEST_F(ExternalTableTest, NothingIsLoadedBeforeTheFirstCallNorAtTheSecond) {
  ExternalEntry e = {"tcsecond.dll", "ProbeValue", nullptr, nullptr};
  ASSERT_EQ(GetModuleHandleA("tcsecond.dll"), nullptr);
  const FARPROC first = BindExternalEntry(e);
  ASSERT_NE(first, nullptr);
  const HMODULE module = e.module;
  EXPECT_EQ(module, GetModuleHandleA("tcsecond.dll"));
  EXPECT_EQ(BindExternalEntry(e), first);
  EXPECT_EQ(e.module, module);
  EXPECT_EQ(CallProbe(first), 4);
  // One release unloads it: the second call took no reference of its own.
  FreeLibrary(module);
  EXPECT_EQ(GetModuleHandleA("tcsecond.dll"), nullptr);
}

TEST_F(ExternalTableTest, BoundEntryIsCalledWithoutLookingAtItsLibrary) {
  const FARPROC bound = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount");
  ExternalEntry e = {"tc_absent.dll", "NoSuchExport", bound, nullptr};
  EXPECT_EQ(BindExternalEntry(e), bound);
  EXPECT_EQ(e.module, nullptr);
}

TEST_F(ExternalTableTest, EntriesFourAndFiveAreBoundEachAtItsOwnFirstCall) {
  ExternalEntry* t = ExternalTable();
  ASSERT_EQ(GetModuleHandleA("wininet.dll"), nullptr) << "the test program must not import WinINet";
  ASSERT_NE(ExternalProc(kHttpSendRequestA), nullptr);
  EXPECT_NE(t[kHttpSendRequestA].module, nullptr);
  EXPECT_EQ(t[kHttpSendRequestBodyA].proc, nullptr);
  EXPECT_EQ(t[kHttpSendRequestBodyA].module, nullptr);

  ASSERT_NE(ExternalProc(kHttpSendRequestBodyA), nullptr);
  EXPECT_EQ(t[kHttpSendRequestBodyA].proc, t[kHttpSendRequestA].proc);
  EXPECT_EQ(t[kHttpSendRequestBodyA].module, t[kHttpSendRequestA].module);
  EXPECT_EQ(t[kHttpSendRequestA].proc,
            GetProcAddress(GetModuleHandleA("wininet.dll"), "HttpSendRequestA"));

  // Entry 5 loaded the library for itself: dropping entry 4's reference leaves it loaded.
  FreeLibrary(t[kHttpSendRequestA].module);
  t[kHttpSendRequestA].module = nullptr;
  t[kHttpSendRequestA].proc = nullptr;
  EXPECT_NE(GetModuleHandleA("wininet.dll"), nullptr);
  // No other entry of WinINet was bound along the way.
  for (int i = kInternetOpenA; i <= kHttpQueryInfoA; ++i) {
    if (i != kHttpSendRequestBodyA) {
      EXPECT_EQ(t[i].proc, nullptr) << i;
    }
  }
}

TEST_F(ExternalTableTest, EntryWithoutLibraryIsFoundInKernel32) {
  ASSERT_NE(ExternalProc(kMultiByteToWideChar), nullptr);
  const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  const ExternalEntry& e = ExternalTable()[kMultiByteToWideChar];
  EXPECT_EQ(e.module, kernel32);
  EXPECT_EQ(e.proc, GetProcAddress(kernel32, "MultiByteToWideChar"));
  // It is the real conversion: 中文 in code page 936.
  auto convert = External<int(WINAPI*)(UINT, DWORD, LPCCH, int, LPWSTR, int)>(kMultiByteToWideChar);
  wchar_t wide[4] = {};
  EXPECT_EQ(convert(936, 0, "\xD6\xD0\xCE\xC4", 4, wide, 4), 2);
  EXPECT_EQ(std::wstring(wide), L"\u4E2D\u6587");
}

// Each function lives in one of the six system libraries only; the search keeps the first
// that has it.
TEST_F(ExternalTableTest, EntryWithoutLibrarySearchesTheSixSystemLibrariesInOrder) {
  const struct {
    const char *function, *library;
  } rows[] = {
      {"GetTickCount", "kernel32.dll"}, {"CreateSolidBrush", "gdi32.dll"},
      {"MessageBoxA", "user32.dll"},    {"GetUserNameA", "advapi32.dll"},
      {"WNetGetConnectionA", "mpr.dll"}, {"ShellExecuteA", "shell32.dll"},
  };
  for (const auto& r : rows) {
    ExternalEntry e = {"", r.function, nullptr, nullptr};
    ASSERT_NE(BindExternalEntry(e), nullptr) << r.function;
    EXPECT_EQ(e.module, GetModuleHandleA(r.library)) << r.function;
    EXPECT_EQ(e.proc, GetProcAddress(GetModuleHandleA(r.library), r.function)) << r.function;
    FreeLibrary(e.module);
  }
}

TEST_F(ExternalTableTest, EntryWithoutLibraryReleasesTheLibrariesThatLackIt) {
  ASSERT_EQ(GetModuleHandleA("mpr.dll"), nullptr);
  ExternalEntry e = {"", "ShellExecuteA", nullptr, nullptr};
  ASSERT_NE(BindExternalEntry(e), nullptr);
  // Mpr.dll was loaded on the way to Shell32.dll and lacked the function.
  EXPECT_EQ(GetModuleHandleA("mpr.dll"), nullptr);
  FreeLibrary(e.module);
}

TEST_F(ExternalTableTest, NullLibraryNameCountsAsEmpty) {
  ExternalEntry e = {nullptr, "MultiByteToWideChar", nullptr, nullptr};
  ASSERT_NE(BindExternalEntry(e), nullptr);
  EXPECT_EQ(e.module, GetModuleHandleA("kernel32.dll"));
  FreeLibrary(e.module);
}

TEST_F(ExternalTableTest, ReleaseUnloadsEveryLibraryOfTheTable) {
  ASSERT_EQ(GetModuleHandleA("SkinH_EL.dll"), nullptr);
  // The probe standing in for the skin engine lies in the program directory.
  EXPECT_EQ(CallProbe(ExternalProc(kSkinH_AttachRes)), 10);
  EXPECT_NE(GetModuleHandleA("SkinH_EL.dll"), nullptr);
  ReleaseExternalLibraries();
  EXPECT_EQ(GetModuleHandleA("SkinH_EL.dll"), nullptr);
  for (int i = 0; i < kExternalEntryCount; ++i) {
    EXPECT_EQ(ExternalTable()[i].proc, nullptr) << i;
    EXPECT_EQ(ExternalTable()[i].module, nullptr) << i;
  }
}

}  // namespace
