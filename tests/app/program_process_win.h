// The real program in a process of its own, and a reach into its window: finding it, reading
// its list view through the target's memory, clicking, closing.
#pragma once
#include <windows.h>

#include <string>

struct ProgramProcess {
  PROCESS_INFORMATION info = {};
  bool started = false;
};

ProgramProcess StartProgram(const std::wstring& exePath);
// Waits for the process to end; its exit code, or STILL_ACTIVE after `timeoutMs`.
DWORD WaitForExit(const ProgramProcess& program, DWORD timeoutMs);
// Ends a program a test left running and closes the handles.
void StopProgram(ProgramProcess& program);

// The process's top-level window of the class (and caption, when given), waiting up to
// `timeoutMs`; null when none appeared.
HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);

std::wstring TextOfWindow(HWND window);

// Cells of a list view of another process (read through the target's memory).
std::wstring RemoteListCell(HANDLE process, HWND list, int row, int column);
void RemoteSelectRow(HANDLE process, HWND list, int row);
RECT RemoteItemRect(HANDLE process, HWND list, int row);

// The Windows path of a path of this machine (Wine maps / to Z:).
std::wstring WindowsPath(const std::string& unixPath);

// The window's rectangle on screen, saved as a 24-bit BMP file.
bool SaveWindowShot(HWND window, const std::wstring& bmpPath);
