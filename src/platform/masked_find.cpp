#include "platform/masked_find.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vx::platform {

namespace {

bool MatchesAt(const char* p, std::string_view value, std::string_view mask) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (static_cast<char>(p[i] | mask[i]) != value[i]) return false;
    }
    return true;
}

}  // namespace

std::size_t FindMasked(std::string_view bytes, std::size_t from, std::string_view value,
                       std::string_view mask) {
    const std::size_t n = value.size();
    if (n == 0 || bytes.size() < n || from > bytes.size() - n) return std::string_view::npos;
    const std::size_t last = bytes.size() - n;  // the last possible start
    const char* const data = bytes.data();
    std::size_t i = from;
#if defined(__SSE2__)
    // Candidates where the first and the last byte of the pattern both match, 16 at a time.
    const __m128i firstValue = _mm_set1_epi8(value.front());
    const __m128i firstMask = _mm_set1_epi8(mask.front());
    const __m128i lastValue = _mm_set1_epi8(value.back());
    const __m128i lastMask = _mm_set1_epi8(mask.back());
    for (; i <= last && last - i >= 15; i += 16) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1));
        auto bits = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(head, firstMask), firstValue),
                          _mm_cmpeq_epi8(_mm_or_si128(tail, lastMask), lastValue))));
        while (bits != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(bits));
            if (MatchesAt(data + at, value, mask)) return at;
            bits &= bits - 1;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (MatchesAt(data + i, value, mask)) return i;
    }
    return std::string_view::npos;
}

}  // namespace vx::platform
