// Our texts are code page 936 bytes; the controls speak UTF-16. Converting with 936 named
// explicitly keeps captions and cells right on a Windows whose ANSI code page is another.
#pragma once
#include <string>

std::wstring WideFromCp936(const std::string& text);
std::string Cp936FromWide(const wchar_t* text, size_t length);
std::string Cp936FromWide(const std::wstring& text);
