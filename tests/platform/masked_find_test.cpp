#include "platform/masked_find.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vx::platform {
namespace {

std::size_t FindByteByByte(std::string_view bytes, std::size_t from, std::string_view value,
                           std::string_view mask) {
    for (std::size_t i = from; i + value.size() <= bytes.size(); ++i) {
        bool all = true;
        for (std::size_t k = 0; k < value.size() && all; ++k) {
            all = static_cast<char>(bytes[i + k] | mask[k]) == value[k];
        }
        if (all) return i;
    }
    return std::string_view::npos;
}

// Texts of every length around the widths searched at once (16 and 32 bytes), with the pattern
// planted at every distance from the start and the end, and from every starting point.
TEST(MaskedFind, FindsWhatAByteByByteSearchFinds) {
    const struct {
        std::string value;
        std::string mask;
    } patterns[] = {
        {"montag", std::string(6, ' ')},  // letters in either case
        {"x", std::string(1, ' ')},
        {"\xC3\xA4z", std::string("\0\0 ", 3)},  // a multi-byte character, exact
        {"ab", std::string(2, '\0')},
    };
    std::mt19937 random(7);
    for (const auto& p : patterns) {
        for (std::size_t size = 0; size <= 80; ++size) {
            std::string text(size, 'a');
            for (char& c : text) c = "aAbBmMxX \xC3\xA4zZ"[random() % 14];
            if (size >= p.value.size()) {
                const std::size_t at = random() % (size - p.value.size() + 1);
                for (std::size_t k = 0; k < p.value.size(); ++k) {
                    // An upper-case letter where the mask lets either case match.
                    text[at + k] =
                        p.mask[k] == ' ' ? static_cast<char>(p.value[k] & ~0x20) : p.value[k];
                }
            }
            for (std::size_t from = 0; from <= size + 1; ++from) {
                EXPECT_EQ(FindMasked(text, from, p.value, p.mask),
                          FindByteByByte(text, from, p.value, p.mask))
                    << p.value << " in " << text << " from " << from;
            }
        }
    }
}

}  // namespace
}  // namespace vx::platform
