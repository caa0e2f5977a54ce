#include "text/codepage.h"

std::string Utf8ToAnsi(const std::string& text) {
  return UnicodeToMultiByte(MultiByteToUnicode(text), 936);
}
