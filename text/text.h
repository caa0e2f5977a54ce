// Texts, byte buffers and text arrays, and the operations every other module cuts pages,
// headers and addresses with.
//
// A text is a std::string of code page 936 bytes that never holds a zero byte: a byte of
// 0x80 or above begins a two-byte character together with the byte after it. Positions are
// 1-based byte positions and a search that finds nothing gives -1. The searching operations
// walk characters, so a sub-text never matches at the second byte of a two-byte character.
// An absent text is the empty text. Every operation returns a new value.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;
using TextArray = std::vector<std::string>;

int TextLength(const std::string& text);
std::string TextLeft(const std::string& text, int n);
std::string TextRight(const std::string& text, int n);
std::string TextMid(const std::string& text, int start, int n);

// First occurrence at or after `start`; the result counts from the beginning of the text.
int TextFind(const std::string& text, const std::string& sub, int start = 1,
             bool ignoreCase = false);
// Last occurrence lying wholly before `start` (omitted: the end of the text).
int TextFindLast(const std::string& text, const std::string& sub,
                 std::optional<int> start = std::nullopt, bool ignoreCase = false);
// Note the flag: true respects letter case, so the default ignores it. A negative count
// means no limit.
std::string TextReplace(const std::string& text, const std::string& sub,
                        const std::string& replacement = std::string(), int start = 1,
                        int count = -1, bool respectCase = false);
// Omitted maximum: no limit; a negative maximum counts as 0.
TextArray TextSplit(const std::string& text, const std::string& separator = ",",
                    std::optional<int> maximum = std::nullopt);

std::string TextLower(const std::string& text);
std::string TextTrim(const std::string& text);
std::string TextRemoveSpaces(const std::string& text);
int32_t TextToInt(const std::string& text);
std::string IntToText(int32_t value);
std::string TextChar(int code);
std::string Spaces(int n);

Bytes TextToBytes(const std::string& text);
std::string BytesToText(const Bytes& bytes);
std::string BytesToText(const uint8_t* data, size_t size);
Bytes ZeroBytes(int n);
Bytes BytesLeft(const Bytes& bytes, int n);
int ByteLength(const Bytes& bytes);

// Element at a 1-based index; an index outside 1..count is a fault that ends the program.
const std::string& Element(const TextArray& array, int index);
int Count(const TextArray& array);
// Adds a copy of `text` as the new last element.
void Append(TextArray& array, const std::string& text);

// Texts join with `+` and compare with `==`; byte buffers join here.
Bytes JoinBytes(const Bytes& first, const Bytes& second);

// The text between the first `left` marker and the next `right` marker after it; the empty
// text when either is missing. "#引号" in a marker stands for a double quote.
std::string TextBetween(const std::string& text, const std::string& left,
                        const std::string& right, int start = 0, bool ignoreCase = false);
