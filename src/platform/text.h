// Text helpers shared by the whole engine. Wide strings are UTF-16 (std::u16string); positions
// in the engine's own algorithms are counted from 1 where the callers say so, but these helpers
// use ordinary 0-based C++ indices.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::platform {

// Simple Unicode upper-case mapping of one UTF-16 code unit to one; surrogate halves and
// characters without a one-unit upper-case form (such as U+00DF) stay as they are.
char16_t UpperChar(char16_t c);
std::u16string UpperCase(std::u16string_view s);
// The same mapping as a table of all 65536 code units, for loops over many units.
const char16_t* UpperCaseTable();
// Appends the upper-case form of s to out (UpperCase without a new string).
void AppendUpperCase(std::u16string& out, std::u16string_view s);
// UpperChar with ASCII mapped in line: for loops over text that is mostly ASCII.
inline char16_t UpperCharFast(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    return UpperChar(c);
}
// AppendUpperCase through UpperCharFast.
inline void AppendUpperCaseFast(std::u16string& out, std::u16string_view s) {
    for (const char16_t c : s) out.push_back(UpperCharFast(c));
}

// True for Unicode white space and control characters: what Trim removes at both ends.
bool IsTrimChar(char16_t c);
std::u16string Trim(std::u16string_view s);
std::u16string_view TrimView(std::u16string_view s);
// True for the invisible format characters (Unicode category Cf: U+FEFF, U+200B ... U+200D,
// U+2060, U+00AD ...).
bool IsFormatChar(char16_t c);

// UTF-8 for names and messages (utf8.h): a lone surrogate keeps its 3-byte form, so that every
// host name survives FromUtf8 / ToUtf8 unchanged. Decoding never fails.
std::string ToUtf8(std::u16string_view s);
std::u16string FromUtf8(std::string_view s);

// ASCII text (digits, literals built in code) to UTF-16.
std::u16string Ascii(std::string_view s);
// Decimal text without grouping ("-12", "1234").
std::u16string IntText(int64_t n);
// Decimal text with German thousands grouping ("1.234.567", "-1.234", "999").
std::u16string GroupedIntText(int64_t n);
// Parses a whole decimal integer (optional sign, surrounding blanks allowed); false otherwise.
bool ParseInt(std::u16string_view s, int64_t& out);
// The value of a hexadecimal digit (either case); -1 for any other character.
int HexDigitValue(char16_t c);

}  // namespace vx::platform
