// Deployment of the skin engine as a program start does it: the probe program (a window, the
// created event's ApplyEmbeddedSkin, then showing the window) is copied into a fresh directory
// and started there, once or twice, with whatever that directory holds beforehand. A fault box
// it raises is read and closed here. Needs a display.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dll_table.h"
#include "app/fault.h"
#include "tests/support/child_windows_win.h"

namespace {

const DWORD kPatienceMs = 60000;  // a guard against a hung child only; nothing is timed
const char kMissingEngine[] = "无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”";

using Bytes = std::vector<unsigned char>;

std::string Here() { return ProgramDirectory(); }
std::string Fixture(const std::string& name) { return Here() + "\\fixtures\\" + name; }

// The fault box's message: the longest text among its static controls.
std::string LongestStaticText(HWND box) {
  std::string text;
  for (HWND c : ChildWindows(box)) {
    const std::string t = ToCp936(WindowText(c));
    if (lstrcmpiW(ClassName(c).c_str(), L"Static") == 0 && t.size() > text.size()) text = t;
  }
  return text;
}

BOOL CALLBACK CloseShownWindows(HWND w, LPARAM pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == static_cast<DWORD>(pid) && IsWindowVisible(w)) PostMessageW(w, WM_CLOSE, 0, 0);
  return TRUE;
}

struct ProbeRun {
  DWORD exit_code = 0;
  std::string output;    // what the probe printed: "shown" once its window was shown
  std::string box_text;  // the fault box's text; empty when none was raised
};

// Starts dir\program with `argument`, closes a fault box it raises with OK (or closes the
// window it shows), and waits for its end.
ProbeRun StartProgram(const std::string& dir, const std::string& program, const std::string& argument) {
  ProbeRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  CreatePipe(&read_end, &write_end, &inherit, 0);
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = write_end;
  si.hStdError = write_end;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + dir + "\\" + program + "\" " + argument;
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(), &si, &pi)) {
    ADD_FAILURE() << "cannot start " << command;
    CloseHandle(read_end), CloseHandle(write_end);
    return run;
  }
  CloseHandle(write_end);
  CloseHandle(pi.hThread);
  for (DWORD waited = 0; waited < kPatienceMs; waited += 50) {
    if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) break;
    const HWND box = FindShownWindow(pi.dwProcessId, L"#32770", TitleIs::kEqual, "错误");
    // Any visible window of the process other than a fault box: for the real program, its main
    // window being shown.
    const bool shown = FindShownWindow(pi.dwProcessId, L"", TitleIs::kOther, "错误") != nullptr;
    if (shown && !box) {
      run.output += "shown";
      EnumWindows(CloseShownWindows, static_cast<LPARAM>(pi.dwProcessId));
    }
    if (box) {
      run.box_text = LongestStaticText(box);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      WaitForSingleObject(pi.hProcess, kPatienceMs);
      break;
    }
  }
  if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "probe still running";
    TerminateProcess(pi.hProcess, 1);
  }
  GetExitCodeProcess(pi.hProcess, &run.exit_code);
  // Only what is in the pipe now: reading to its end would wait for every holder of the write
  // end, and a Wine helper the child started (explorer.exe, for the prefix's first window)
  // inherits it and lives on.
  char buf[512];
  DWORD n = 0, available = 0;
  while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
         ReadFile(read_end, buf, available < sizeof buf ? available : sizeof buf, &n, nullptr) && n > 0)
    run.output.append(buf, n);
  CloseHandle(read_end);
  CloseHandle(pi.hProcess);
  return run;
}

// Wine reports the archive attribute on every regular file whatever is stored, so it is masked
// here; hidden_attribute.sh checks the stored attributes themselves.
DWORD AttributesBesideArchive(const std::string& path) {
  return GetFileAttributesA(path.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
}

ProbeRun StartProbe(const std::string& dir, const std::string& argument) {
  return StartProgram(dir, "skin_probe.exe", argument);
}

bool Shown(const ProbeRun& run) { return run.output.find("shown") != std::string::npos; }

bool SameTime(const FILETIME& a, const FILETIME& b) { return CompareFileTime(&a, &b) == 0; }

// Sets a file's write time to one no program start could produce, so that any write shows.
void AgeFile(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
  SYSTEMTIME old_time{2001, 1, 1, 1, 12, 0, 0, 0};
  FILETIME t;
  SystemTimeToFileTime(&old_time, &t);
  SetFileTime(f, nullptr, nullptr, &t);
  CloseHandle(f);
}

class SkinDeployTest : public testing::Test {
 protected:
  void SetUp() override {
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the probe shows windows and fault boxes: run under tools/test.sh or export DISPLAY";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "tc_skin_" + std::to_string(GetCurrentProcessId()) + "_" +
           testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(dir_.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((Here() + "\\skin_probe.exe").c_str(), (dir_ + "\\skin_probe.exe").c_str(), FALSE));
  }

  void TearDown() override { RemoveTree(dir_); }

  static void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = dir + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
        else DeleteFileA(path.c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
  }

  // The stand-in engine, placed as the program directory's SkinH_EL.dll with `attributes`.
  void PlaceEngine(const std::string& fixture, DWORD attributes) {
    ASSERT_TRUE(CopyFileA(Fixture(fixture).c_str(), Engine().c_str(), FALSE));
    ASSERT_TRUE(SetFileAttributesA(Engine().c_str(), attributes));
  }

  std::string Engine() const { return dir_ + "\\SkinH_EL.dll"; }
  std::string Record() const { return dir_ + "\\attach_record.bin"; }

  // The recorded call: its first line and the bytes that followed it.
  std::pair<std::string, Bytes> Recorded() const {
    const Bytes all = ReadAll(Record());
    size_t eol = 0;
    while (eol < all.size() && all[eol] != '\n') ++eol;
    return {std::string(all.begin(), all.begin() + static_cast<long>(eol)),
            Bytes(all.begin() + static_cast<long>(eol < all.size() ? eol + 1 : eol), all.end())};
  }

  std::string dir_;
};

TEST_F(SkinDeployTest, FirstStartWritesTheEmbeddedLibraryHiddenAndASecondStartLeavesIt) {
  const ProbeRun first = StartProbe(dir_, "3");
  EXPECT_EQ(first.exit_code, 0u);
  EXPECT_TRUE(Shown(first)) << first.box_text;
  EXPECT_EQ(first.box_text, "");
  const Bytes image = ReadAll(Fixture("engine\\SkinH_EL.dll"));
  ASSERT_GT(image.size(), 0u);
  EXPECT_TRUE(ReadAll(Engine()) == image) << "written " << ReadAll(Engine()).size() << " bytes";
  EXPECT_EQ(AttributesBesideArchive(Engine()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));

  AgeFile(Engine());
  const FILETIME before = WriteTime(Engine());
  const ProbeRun second = StartProbe(dir_, "3");
  EXPECT_EQ(second.exit_code, 0u);
  EXPECT_TRUE(Shown(second));
  EXPECT_TRUE(SameTime(WriteTime(Engine()), before)) << "the library was written again";
  EXPECT_TRUE(ReadAll(Engine()) == image);
  EXPECT_EQ(AttributesBesideArchive(Engine()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(SkinDeployTest, AnExistingHiddenLibraryIsUsedAndLeftUntouched) {
  PlaceEngine("recording\\SkinH_EL.dll", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  AgeFile(Engine());
  const FILETIME before = WriteTime(Engine());
  const ProbeRun run = StartProbe(dir_, "3");
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_TRUE(Shown(run));
  EXPECT_TRUE(ReadAll(Engine()) == ReadAll(Fixture("recording\\SkinH_EL.dll")));
  EXPECT_TRUE(SameTime(WriteTime(Engine()), before));
  EXPECT_EQ(AttributesBesideArchive(Engine()),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(Recorded().first.empty()) << "the library there was not the one called";
}

TEST_F(SkinDeployTest, SkinThreeIsPassedWithItsBytesLengthEmptyTextAndThreeZeros) {
  PlaceEngine("recording\\SkinH_EL.dll", FILE_ATTRIBUTE_HIDDEN);
  const ProbeRun run = StartProbe(dir_, "3");
  EXPECT_EQ(run.exit_code, 0u);
  const Bytes skin = ReadAll(Fixture("skin03.she"));
  ASSERT_GT(skin.size(), 4u);
  const auto recorded = Recorded();
  EXPECT_EQ(recorded.first, "0 " + std::to_string(skin.size()) + " 0 0 0 0");
  EXPECT_TRUE(recorded.second == skin) << "passed " << recorded.second.size() << " bytes";
}

TEST_F(SkinDeployTest, ANumberOutsideOneToThirtyThreePassesNullAndZero) {
  PlaceEngine("recording\\SkinH_EL.dll", FILE_ATTRIBUTE_HIDDEN);
  for (const char* n : {"0", "34", "-1", "2147483647"}) {
    DeleteFileA(Record().c_str());
    const ProbeRun run = StartProbe(dir_, n);
    EXPECT_EQ(run.exit_code, 0u) << n;
    EXPECT_TRUE(Shown(run)) << n;
    EXPECT_EQ(Recorded().first, "1 0 0 0 0 0") << n;
    EXPECT_TRUE(Recorded().second.empty()) << n;
  }
  // The ends of the range are skins.
  for (int n : {1, 33}) {
    const ProbeRun run = StartProbe(dir_, std::to_string(n));
    EXPECT_EQ(run.exit_code, 0u);
    const Bytes skin = ReadAll(Fixture(n == 1 ? "skin01.she" : "skin33.she"));
    EXPECT_TRUE(Recorded().second == skin) << n;
  }
}

TEST_F(SkinDeployTest, ALibraryLackingTheFunctionIsTheFaultAtOnce) {
  PlaceEngine("lacking\\SkinH_EL.dll", FILE_ATTRIBUTE_HIDDEN);
  const ProbeRun run = StartProbe(dir_, "3");
  EXPECT_EQ(run.box_text, FaultBoxText(kMissingEngine));
  EXPECT_EQ(run.exit_code, 0xFFFFFFFFu);
  EXPECT_FALSE(Shown(run));
  EXPECT_TRUE(ReadAll(Engine()) == ReadAll(Fixture("lacking\\SkinH_EL.dll")));
}

// A directory of that name counts as existing: nothing is written, and no library is found.
TEST_F(SkinDeployTest, ADirectoryOfThatNameIsLeftAndIsTheFault) {
  ASSERT_TRUE(CreateDirectoryA(Engine().c_str(), nullptr));
  const ProbeRun run = StartProbe(dir_, "3");
  EXPECT_EQ(run.box_text, FaultBoxText(kMissingEngine));
  EXPECT_EQ(run.exit_code, 0xFFFFFFFFu);
  EXPECT_FALSE(Shown(run));
  EXPECT_EQ(GetFileAttributesA(Engine().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

// The same with the program itself in place of the probe.
class ProgramDeployTest : public SkinDeployTest {
 protected:
  void SetUp() override {
    SkinDeployTest::SetUp();
    ASSERT_TRUE(CopyFileA(Fixture("program\\task-collector.exe").c_str(),
                          (dir_ + "\\task-collector.exe").c_str(), FALSE));
  }
};

TEST_F(ProgramDeployTest, TheProgramPassesSkinThreeAndShowsItsWindow) {
  PlaceEngine("recording\\SkinH_EL.dll", FILE_ATTRIBUTE_HIDDEN);
  const ProbeRun run = StartProgram(dir_, "task-collector.exe", "");
  EXPECT_EQ(run.box_text, "");
  EXPECT_TRUE(Shown(run));
  EXPECT_EQ(run.exit_code, 0u);
  const Bytes skin = ReadAll(Fixture("skin03.she"));
  EXPECT_EQ(Recorded().first, "0 " + std::to_string(skin.size()) + " 0 0 0 0");
  EXPECT_TRUE(Recorded().second == skin);
}

TEST_F(ProgramDeployTest, TheProgramWithALibraryLackingTheFunctionFaultsBeforeItsWindowShows) {
  PlaceEngine("lacking\\SkinH_EL.dll", FILE_ATTRIBUTE_HIDDEN);
  const ProbeRun run = StartProgram(dir_, "task-collector.exe", "");
  EXPECT_EQ(run.box_text, FaultBoxText(kMissingEngine));
  EXPECT_EQ(run.exit_code, 0xFFFFFFFFu);
  EXPECT_FALSE(Shown(run));
}

// The directory is made by the test's set-up step (readonly_dir.sh), outside Windows' reach.
TEST(SkinDeployReadOnly, AnUnwritableDirectoryWithoutALibraryIsTheFaultBeforeTheWindowShows) {
  const std::string dir = Here() + "\\readonly";
  ASSERT_NE(GetFileAttributesA((dir + "\\skin_probe.exe").c_str()), INVALID_FILE_ATTRIBUTES)
      << "set-up step missing: " << dir;
  const std::string trial = dir + "\\trial.tmp";
  HANDLE f = CreateFileA(trial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    CloseHandle(f);
    DeleteFileA(trial.c_str());
    FAIL() << dir << " is writable: this machine cannot make a read-only directory";
  }
  for (const char* program : {"skin_probe.exe", "task-collector.exe"}) {
    const ProbeRun run = StartProgram(dir, program, "");
    EXPECT_EQ(run.box_text, FaultBoxText(kMissingEngine)) << program;
    EXPECT_EQ(run.exit_code, 0xFFFFFFFFu) << program;
    EXPECT_FALSE(Shown(run)) << program;
    EXPECT_EQ(GetFileAttributesA((dir + "\\SkinH_EL.dll").c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

// A write cut short by a full disk leaves no library behind: one that stayed would be found at
// every later start and never loaded nor written again. The directory is made by full_dir.sh.
TEST(SkinDeployFullDisk, ALibraryThatDoesNotFitLeavesNothingBehind) {
  const std::string dir = Here() + "\\fullfs";
  if (GetFileAttributesA((dir + "\\skin_probe.exe").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no small file system could be mounted for " << dir;
  const ProbeRun run = StartProbe(dir, "3");
  EXPECT_EQ(run.box_text, FaultBoxText(kMissingEngine));
  EXPECT_EQ(run.exit_code, 0xFFFFFFFFu);
  EXPECT_FALSE(Shown(run));
  EXPECT_EQ(GetFileAttributesA((dir + "\\SkinH_EL.dll").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
