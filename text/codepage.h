// UTF-8 to code page 936. On Windows through MultiByteToWideChar / WideCharToMultiByte of the
// external-function table; natively through iconv with the same results.
#pragma once
#include <string>

#include "text/text.h"

// UTF-16LE units of `text` read in `codePage`, followed by one zero unit.
Bytes MultiByteToUnicode(const std::string& text, unsigned codePage = 65001);
// The UTF-16LE units of `units` up to the first zero unit, written in `codePage` (0: the
// system's ANSI code page). A character the code page lacks becomes "?".
std::string UnicodeToMultiByte(const Bytes& units, unsigned codePage = 0);
// A text of UTF-8 bytes rewritten in code page 936.
std::string Utf8ToAnsi(const std::string& text);
