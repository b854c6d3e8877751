#include "shell/colour_text.h"

#include <array>
#include <cstdio>

#include "platform/text.h"

namespace vx::shell {
namespace {

struct NamedColour {
    std::u16string_view name;
    Colour value;
};

constexpr Colour kSystem = 0x80000000;

// Named colours in table order, then the system colours in index order.
constexpr std::array<NamedColour, 42> kNamed{{
    {u"clBlack", 0x00000000},
    {u"clMaroon", 0x00000080},
    {u"clGreen", 0x00008000},
    {u"clOlive", 0x00008080},
    {u"clNavy", 0x00800000},
    {u"clPurple", 0x00800080},
    {u"clTeal", 0x00808000},
    {u"clGray", 0x00808080},
    {u"clSilver", 0x00C0C0C0},
    {u"clRed", 0x000000FF},
    {u"clLime", 0x0000FF00},
    {u"clYellow", 0x0000FFFF},
    {u"clBlue", 0x00FF0000},
    {u"clFuchsia", 0x00FF00FF},
    {u"clAqua", 0x00FFFF00},
    {u"clWhite", 0x00FFFFFF},
    {u"clNone", 0x1FFFFFFF},
    {u"clScrollBar", kSystem + 0},
    {u"clBackground", kSystem + 1},
    {u"clActiveCaption", kSystem + 2},
    {u"clInactiveCaption", kSystem + 3},
    {u"clMenu", kSystem + 4},
    {u"clWindow", kSystem + 5},
    {u"clWindowFrame", kSystem + 6},
    {u"clMenuText", kSystem + 7},
    {u"clWindowText", kSystem + 8},
    {u"clCaptionText", kSystem + 9},
    {u"clActiveBorder", kSystem + 10},
    {u"clInactiveBorder", kSystem + 11},
    {u"clAppWorkSpace", kSystem + 12},
    {u"clHighlight", kSystem + 13},
    {u"clHighlightText", kSystem + 14},
    {u"clBtnFace", kSystem + 15},
    {u"clBtnShadow", kSystem + 16},
    {u"clGrayText", kSystem + 17},
    {u"clBtnText", kSystem + 18},
    {u"clInactiveCaptionText", kSystem + 19},
    {u"clBtnHighlight", kSystem + 20},
    {u"cl3DDkShadow", kSystem + 21},
    {u"cl3DLight", kSystem + 22},
    {u"clInfoText", kSystem + 23},
    {u"clInfoBk", kSystem + 24},
}};

// Standard desktop values of the 25 system colours, as 0x00BBGGRR.
constexpr std::array<Colour, 25> kSystemRgb{
    0x00C8C8C8, 0x00000000, 0x00D1B499, 0x00DBCDBF, 0x00F0F0F0, 0x00FFFFFF, 0x00646464,
    0x00000000, 0x00000000, 0x00000000, 0x00B4B4B4, 0x00FCF7F4, 0x00ABABAB, 0x00D77800,
    0x00FFFFFF, 0x00F0F0F0, 0x00A0A0A0, 0x006D6D6D, 0x00000000, 0x00000000, 0x00FFFFFF,
    0x00696969, 0x00E3E3E3, 0x00000000, 0x00E1FFFF,
};

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && platform::UpperCase(a) == platform::UpperCase(b);
}

}  // namespace

std::u16string ColourToText(Colour colour) {
    for (const auto& named : kNamed) {
        if (named.value == colour) return std::u16string(named.name);
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(colour));
    return platform::Ascii(buffer);
}

std::optional<Colour> TextToColour(std::u16string_view text) {
    for (const auto& named : kNamed) {
        if (EqualsIgnoringCase(named.name, text)) return named.value;
    }
    const std::u16string_view trimmed = platform::TrimView(text);
    if (!trimmed.empty() && trimmed.front() == u'$') {
        if (trimmed.size() < 2 || trimmed.size() > 9) return std::nullopt;
        Colour value = 0;
        for (char16_t c : trimmed.substr(1)) {
            const int digit = platform::HexDigitValue(c);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<Colour>(digit);
        }
        return value;
    }
    int64_t number = 0;
    if (!platform::ParseInt(trimmed, number) || number < INT32_MIN || number > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<Colour>(number);
}

Colour ResolveToRgb(Colour colour) {
    if ((colour & 0xFF000000) == kSystem) {
        const Colour index = colour & 0xFF;
        return index < kSystemRgb.size() ? kSystemRgb[index] : 0;
    }
    return colour & 0x00FFFFFF;
}

Colour DarkenSevenPercent(Colour colour) {
    const Colour rgb = ResolveToRgb(colour);
    return FromRgb(RedOf(rgb) * 93 / 100, GreenOf(rgb) * 93 / 100, BlueOf(rgb) * 93 / 100);
}

}  // namespace vx::shell
