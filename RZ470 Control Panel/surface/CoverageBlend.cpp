#include "CoverageBlend.h"

#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#define RZ470_BLEND_SSE2 1
#include <emmintrin.h>
#endif
// AVX2 is no baseline of x86-64: built for it beside the rest, and run where the processor has it.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#define RZ470_BLEND_AVX2 1
#include <immintrin.h>
#endif

namespace coverage_blend {

namespace {

// x * a / 255 for two channels at once, in the low byte of each half.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
    uint32_t t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = x + ((x >> 8) & 0xff00ff) + 0x800080;
    x &= 0xff00ff00;
    return x | t;
}

void Portable(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t colour) {
    for (int i = 0; i < count; ++i) {
        if (coverage[i] != 0) {
            pixels[i] = Pixel(pixels[i], colour, coverage[i]);
        }
    }
}

#if defined(RZ470_BLEND_SSE2)
// ByteMul() in each 16-bit lane; x and a at most 255, so nothing carries out of a lane. A
// channel's two shares never sum past 255 either, so lanes give what ByteMul() gives.
inline __m128i ByteMul16(__m128i x, __m128i a) {
    const __m128i t = _mm_mullo_epi16(x, a);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)), 8);
}

// Two pixels, unpacked to 16-bit channels, at the coverages spread over their channels.
inline __m128i BlendTwo(__m128i pixels, __m128i colour, __m128i coverage) {
    return _mm_add_epi16(ByteMul16(colour, coverage),
                         ByteMul16(pixels, _mm_sub_epi16(_mm_set1_epi16(255), coverage)));
}

void Sse2(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t colour) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i colour16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), zero);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        int four = 0;
        std::memcpy(&four, coverage + i, sizeof four);
        // Each pixel's coverage in each of its four channels.
        __m128i spread = _mm_cvtsi32_si128(four);
        spread = _mm_unpacklo_epi8(spread, spread);
        spread = _mm_unpacklo_epi16(spread, spread);
        auto* const at = reinterpret_cast<__m128i*>(pixels + i);
        const __m128i was = _mm_loadu_si128(at);
        const __m128i low = BlendTwo(_mm_unpacklo_epi8(was, zero), colour16, _mm_unpacklo_epi8(spread, zero));
        const __m128i high = BlendTwo(_mm_unpackhi_epi8(was, zero), colour16, _mm_unpackhi_epi8(spread, zero));
        _mm_storeu_si128(at, _mm_packus_epi16(low, high));
    }
    Portable(pixels + i, coverage + i, count - i, colour);
}
#endif

#if defined(RZ470_BLEND_AVX2)
__attribute__((target("avx2"))) inline __m256i ByteMul16Avx2(__m256i x, __m256i a) {
    const __m256i t = _mm256_mullo_epi16(x, a);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), _mm256_set1_epi16(0x80)),
                             8);
}

// Four pixels (16 bytes) and their four coverages (the low 4 bytes of coverage).
__attribute__((target("avx2"))) inline __m256i BlendFourAvx2(__m128i pixels, __m128i coverage, __m256i colour) {
    // Each coverage byte four times over, then every byte widened to a 16-bit lane.
    const __m128i spreadBytes =
        _mm_shuffle_epi8(coverage, _mm_setr_epi8(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3));
    const __m256i spread = _mm256_cvtepu8_epi16(spreadBytes);
    return _mm256_add_epi16(ByteMul16Avx2(colour, spread),
                            ByteMul16Avx2(_mm256_cvtepu8_epi16(pixels),
                                          _mm256_sub_epi16(_mm256_set1_epi16(255), spread)));
}

__attribute__((target("avx2"))) void Avx2(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t colour) {
    const __m256i colour16 = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(colour)));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        long long eight = 0;
        std::memcpy(&eight, coverage + i, sizeof eight);
        const __m128i coverages = _mm_cvtsi64_si128(eight);
        auto* const at = reinterpret_cast<__m256i*>(pixels + i);
        const __m256i was = _mm256_loadu_si256(at);
        const __m256i low = BlendFourAvx2(_mm256_castsi256_si128(was), coverages, colour16);
        const __m256i high = BlendFourAvx2(_mm256_extracti128_si256(was, 1), _mm_srli_si128(coverages, 4), colour16);
        // The pack works within each 128-bit half; the permute puts the pixels back in order.
        _mm256_storeu_si256(at, _mm256_permute4x64_epi64(_mm256_packus_epi16(low, high), 0xD8));
    }
    // Four more in the same instructions: legacy SSE code here, after the wide registers were
    // used, would pay for the switch on every instruction.
    if (i + 4 <= count) {
        int four = 0;
        std::memcpy(&four, coverage + i, sizeof four);
        auto* const at = reinterpret_cast<__m128i*>(pixels + i);
        const __m256i blended = BlendFourAvx2(_mm_loadu_si128(at), _mm_cvtsi32_si128(four), colour16);
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(blended, blended), 0xD8);
        _mm_storeu_si128(at, _mm256_castsi256_si128(packed));
        i += 4;
    }
    Portable(pixels + i, coverage + i, count - i, colour);
}

bool HasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}
#endif

}  // namespace

uint32_t Pixel(uint32_t pixel, uint32_t colour, uint32_t coverage) {
    return coverage == 255 ? colour : ByteMul(colour, coverage) + ByteMul(pixel, 255 - coverage);
}

SpanBlend Fastest() {
    static const SpanBlend fastest = Variants().back().blend;
    return fastest;
}

std::vector<Variant> Variants() {
    std::vector<Variant> variants{{"portable", Portable}};
#if defined(RZ470_BLEND_SSE2)
    variants.push_back({"SSE2", Sse2});
#endif
#if defined(RZ470_BLEND_AVX2)
    if (HasAvx2()) {
        variants.push_back({"AVX2", Avx2});
    }
#endif
    return variants;
}

}  // namespace coverage_blend
