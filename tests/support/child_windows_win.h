// For Windows tests that start a child process and look at what it shows and writes: its
// top-level windows and their children, their texts as the program's code page has them, and
// whole files with their write times.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// `text` in code page 936, the code page the program's own texts are written in.
std::string ToCp936(const std::wstring& text);

std::wstring WindowText(HWND w);
std::wstring ClassName(HWND w);

// How a window's title (in code page 936) must stand to the title searched for.
enum class TitleIs { kEqual, kStartingWith, kOther };

// The first visible top-level window of process `pid` of class `cls` (any class when empty)
// whose title stands to `title` as `how` says; nullptr when there is none.
HWND FindShownWindow(DWORD pid, const std::wstring& cls, TitleIs how, const std::string& title);

std::vector<HWND> ChildWindows(HWND parent);

// The file's bytes; none when it cannot be read.
std::vector<unsigned char> ReadAll(const std::string& path);

// The file's last write time; zero when it cannot be read.
FILETIME WriteTime(const std::string& path);
