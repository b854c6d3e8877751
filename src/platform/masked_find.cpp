#include "platform/masked_find.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VX_WIDE_CANDIDATES 1
#endif

namespace vx::platform {

namespace {

bool MatchesAt(const char* p, std::string_view value, std::string_view mask) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (static_cast<char>(p[i] | mask[i]) != value[i]) return false;
    }
    return true;
}

#if defined(VX_WIDE_CANDIDATES)
// The candidates 32 at a time, on processors that have AVX2 (built for it whatever the compiler's
// target): moves i on while at least 32 starts are left, returning a match found on the way.
__attribute__((target("avx2"))) std::size_t FindWide(const char* data, std::size_t& i,
                                                     std::size_t last, std::string_view value,
                                                     std::string_view mask) {
    const std::size_t n = value.size();
    const __m256i firstValue = _mm256_set1_epi8(value.front());
    const __m256i firstMask = _mm256_set1_epi8(mask.front());
    const __m256i lastValue = _mm256_set1_epi8(value.back());
    const __m256i lastMask = _mm256_set1_epi8(mask.back());
    for (; i <= last && last - i >= 31; i += 32) {
        const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i tail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + n - 1));
        auto bits = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(head, firstMask), firstValue),
                             _mm256_cmpeq_epi8(_mm256_or_si256(tail, lastMask), lastValue))));
        while (bits != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(bits));
            if (MatchesAt(data + at, value, mask)) return at;
            bits &= bits - 1;
        }
    }
    return std::string_view::npos;
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

}  // namespace

std::size_t FindMasked(std::string_view bytes, std::size_t from, std::string_view value,
                       std::string_view mask) {
    const std::size_t n = value.size();
    if (n == 0 || bytes.size() < n || from > bytes.size() - n) return std::string_view::npos;
    const std::size_t last = bytes.size() - n;  // the last possible start
    const char* const data = bytes.data();
    std::size_t i = from;
#if defined(VX_WIDE_CANDIDATES)
    if (HasAvx2()) {
        const std::size_t found = FindWide(data, i, last, value, mask);
        if (found != std::string_view::npos) return found;
    }
#endif
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
