// Child of the fault-box test: binds one entry that cannot be bound, so the process shows the
// fault box and ends with -1 when it is closed. The mode names the case. Exit code 0 means
// the binding wrongly succeeded; 2 an unknown mode.
#include <windows.h>

#include <cstring>

#include "app/dll_table.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* mode = argv[1];
  // The probe library that lacks OnlyElsewhere lies in the program directory, the one that
  // has it in "elsewhere", which the bare-name search would reach through the current directory.
  SetCurrentDirectoryA((ProgramDirectory() + "\\elsewhere").c_str());
  ExternalEntry e = {"", "", nullptr, nullptr};
  if (std::strcmp(mode, "missing-library") == 0) {
    e = {"tc_absent.dll", "ProbeValue", nullptr, nullptr};
  } else if (std::strcmp(mode, "missing-function") == 0) {
    e = {"tcprobe.dll", "NoSuchExport", nullptr, nullptr};
  } else if (std::strcmp(mode, "local-lacks-function") == 0) {
    e = {"tcprobe.dll", "OnlyElsewhere", nullptr, nullptr};
  } else if (std::strcmp(mode, "no-library") == 0) {
    e = {"", "NoSuchExport", nullptr, nullptr};
  } else if (std::strcmp(mode, "quit-pending") == 0) {
    // A fault after the window has gone: the quit message already waits in the queue.
    PostQuitMessage(0);
    e = {"tc_absent.dll", "ProbeValue", nullptr, nullptr};
  } else if (std::strcmp(mode, "program-table") == 0) {
    // Run with WinINet made unloadable: the first page request's entry.
    ExternalProc(kInternetOpenA);
    return 0;
  } else {
    return 2;
  }
  BindExternalEntry(e);
  return 0;
}
