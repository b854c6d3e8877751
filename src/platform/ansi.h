// The ANSI code page of the system: Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace vx::platform {

// True when c has a byte in Windows-1252 (the five undefined bytes 0x81, 0x8D, 0x8F, 0x90 and
// 0x9D map to U+0081 ... U+009D and back, as the Windows conversion does).
bool IsAnsiChar(char16_t c);
// Byte of c in Windows-1252, '?' when it has none.
char AnsiByte(char16_t c);
// One byte per code unit, '?' for unmappable characters (also for each half of a surrogate pair).
std::string WideToAnsi(std::u16string_view s);
std::u16string AnsiToWide(std::string_view s);
char16_t AnsiToWideChar(unsigned char b);

}  // namespace vx::platform
