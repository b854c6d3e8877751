// Colours as the settings store keeps them: a 32-bit value that is either an RGB colour
// 0x00BBGGRR or a system colour 0x80000000 + index, written as a name ("clWhite") or as "$" and
// eight upper-case hexadecimal digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx::shell {

using Colour = uint32_t;

inline constexpr Colour kDefaultBackground = 0x00400080;  // dark purple
inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kBlack = 0x00000000;
inline constexpr Colour kPureRed = 0x000000FF;

// The name of the colour when it has one, else "$" + eight hexadecimal digits.
std::u16string ColourToText(Colour colour);
// A name (letter case ignored), a decimal number or "$" + hexadecimal digits; nothing when the
// text is none of these.
std::optional<Colour> TextToColour(std::u16string_view text);
// RGB (0x00BBGGRR) of a colour: system colours take the standard desktop values.
Colour ResolveToRgb(Colour colour);
// Each channel of the resolved colour times 0.93, truncated (the highlight of a selected row).
Colour DarkenSevenPercent(Colour colour);

// Channels of an RGB value.
inline int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
inline int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline Colour FromRgb(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | (static_cast<Colour>(g & 0xFF) << 8) |
           (static_cast<Colour>(b & 0xFF) << 16);
}

}  // namespace vx::shell
