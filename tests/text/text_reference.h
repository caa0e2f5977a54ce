// Plain character-walk versions of the searching operations, written as directly as the rules
// read: one character at a time, comparing bytes at every character start. The tests and the
// fuzz target hold the fast versions in text/ against these.
#pragma once
#include <optional>
#include <string>

#include "text/text.h"

namespace reference {

int Find(const std::string& text, const std::string& sub, std::optional<int> start,
         bool ignoreCase);
int FindLast(const std::string& text, const std::string& sub, std::optional<int> start,
             bool ignoreCase);
std::string Replace(const std::string& text, const std::string& sub,
                    const std::string& replacement, int start, int count, bool respectCase);
TextArray Split(const std::string& text, const std::string& separator,
                std::optional<int> maximum);

}  // namespace reference
