// Built with AVX-512 flags of its own: nothing here may be shared with the rest of the
// program (an inline function compiled here could be linked into code run on any processor),
// so it includes no project header but its own and keeps everything in this file.
#include "fastest_kernel.h"

#include <immintrin.h>

#include <cstring>

namespace {

constexpr int kSlots = 225;
constexpr int kPerStep = 9;
constexpr int kSteps = 25;

// Bit 9 * step + p of the set is a place at that step: p = 0..4 are the even gaps 2, 4 .. 10
// at the step's upper height, p = 5..8 the odd gaps 3, 5 .. 9 at the lower one. The set's
// bits in increasing order are thus the rungs from the top; a byte 0..224 names bit byte.
constexpr int gapOfPosition(int p) {
    return p < 5 ? 2 + 2 * p : 3 + 2 * (p - 5);
}

struct Tables {
    unsigned char gapOfBit[256]{};
    /// The line x (2..11) a path on line x reaches through one step whose places are `field`.
    alignas(16) unsigned char afterStep[512][16]{};
    /// The set of byte b's place alone; none for the bytes 225..255.
    alignas(64) std::uint64_t placeOfByte[256][8]{};
    Tables() {
        for (int b = 0; b < 256; ++b) {
            gapOfBit[b] = b < kSlots ? static_cast<unsigned char>(gapOfPosition(b % kPerStep)) : 0;
            placeOfByte[b][b / 64] = b < kSlots ? std::uint64_t{1} << (b % 64) : 0;
        }
        for (int field = 0; field < 512; ++field) {
            for (int x = 2; x <= 11; ++x) {
                int at = x;
                for (int p = 0; p < kPerStep; ++p) {
                    if ((field >> p & 1) == 0) {
                        continue;
                    }
                    const int gap = gapOfPosition(p);
                    at = at == gap ? at + 1 : (at == gap + 1 ? at - 1 : at);
                }
                afterStep[field][x] = static_cast<unsigned char>(at);
            }
        }
    }
};
/// Built on first use, after the caller has checked the processor.
const Tables& tables() {
    static const Tables built;
    return built;
}

struct Xoshiro {
    std::uint64_t s0, s1, s2, s3;
    static std::uint64_t rotl(std::uint64_t x, int k) { return x << k | x >> (64 - k); }
    std::uint64_t next() {
        const std::uint64_t result = rotl(s1 * 5, 7) * 9;
        const std::uint64_t t = s1 << 17;
        s2 ^= s0;
        s3 ^= s1;
        s1 ^= s2;
        s0 ^= s3;
        s2 ^= t;
        s3 = rotl(s3, 45);
        return result;
    }
};

/// `rungs` distinct places, drawn a byte at a time; a byte past the places or a place already
/// changed is drawn again. Past half the places the empty ones are drawn instead.
__m512i drawSet(int rungs, Xoshiro& random, const Tables& table) {
    const bool place = 2 * rungs <= kSlots;
    const int draws = place ? rungs : kSlots - rungs;
    __m512i set = _mm512_setzero_si512();
    int placed = 0;
    while (placed < draws) {
        std::uint64_t word = random.next();
        for (int k = 0; k < 8; ++k, word >>= 8) {
            const __m512i bit = _mm512_load_si512(table.placeOfByte[word & 0xFF]);
            const __m512i grown = _mm512_or_si512(set, bit);
            placed += _mm512_cmpneq_epi64_mask(grown, set) != 0;
            set = grown;
            if (placed == draws) {
                break;
            }
        }
    }
    if (place) {
        return set;
    }
    const __m512i all = _mm512_mask_set1_epi64(_mm512_setzero_si512(), 0x0F, -1);
    const __m512i slots = _mm512_mask_set1_epi64(all, 0x08, (1ll << (kSlots - 192)) - 1);
    return _mm512_xor_si512(slots, set);  // the drawn places lie among the slots
}

int traceSparse(const std::uint64_t (&words)[8], int x, const Tables& table) {
    for (int w = 0; w < 4; ++w) {
        for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1) {
            const int gap = table.gapOfBit[64 * w + static_cast<int>(_tzcnt_u64(bits))];
            x += (x == gap) - (x == gap + 1);
        }
    }
    return x;
}

/// Rung by rung from a list of the set's bits, made 16 bits at a time: no branch but the
/// loop's own.
int traceListed(const std::uint64_t (&words)[8], int x, const Tables& table) {
    alignas(64) std::uint32_t listed[256 + 16];
    const __m512i first = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    int count = 0;
    for (int chunk = 0; chunk < 15; ++chunk) {
        const auto mask = static_cast<__mmask16>(words[chunk / 4] >> (16 * (chunk % 4)));
        const __m512i bits = _mm512_add_epi32(first, _mm512_set1_epi32(16 * chunk));
        _mm512_storeu_si512(listed + count, _mm512_maskz_compress_epi32(mask, bits));
        count += static_cast<int>(_mm_popcnt_u32(mask));
    }
    for (int k = 0; k < count; ++k) {
        const int gap = table.gapOfBit[listed[k]];
        x += (x == gap) - (x == gap + 1);
    }
    return x;
}

/// The place of `step`'s rungs in the set's bits.
std::uint32_t stepField(const unsigned char (&bytes)[72], int step) {
    std::uint32_t field = 0;
    std::memcpy(&field, bytes + kPerStep * step / 8, sizeof field);
    return field >> (kPerStep * step % 8) & 0x1FF;
}

/// A step at a time, each a byte shuffle of the path's line: the lookups do not wait for each
/// other, only the one-cycle shuffles do.
int traceShuffled(const std::uint64_t (&words)[8], int x, const Tables& table) {
    unsigned char bytes[72] = {};
    std::memcpy(bytes, words, sizeof words);
    __m128i at = _mm_cvtsi32_si128(x);
    for (int step = 0; step < kSteps; ++step) {
        const auto* after =
            reinterpret_cast<const __m128i*>(table.afterStep[stepField(bytes, step)]);
        at = _mm_shuffle_epi8(_mm_load_si128(after), at);
    }
    return _mm_cvtsi128_si32(at) & 0xFF;
}

int traceBySteps(const std::uint64_t (&words)[8], int x, const Tables& table) {
    unsigned char bytes[72] = {};
    std::memcpy(bytes, words, sizeof words);
    for (int step = 0; step < kSteps; ++step) {
        x = table.afterStep[stepField(bytes, step)][x];
    }
    return x;
}

}  // namespace

bool fastestKernelRuns() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
}

void fastestKernelLandings(int rungs, int start, std::uint64_t trials, KernelTrace trace,
                           std::uint64_t state[4], std::uint64_t counts[10]) {
    Xoshiro random{state[0], state[1], state[2], state[3]};
    const Tables& table = tables();
    std::uint64_t words[8];
    for (std::uint64_t t = 0; t < trials; ++t) {
        _mm512_storeu_si512(words, drawSet(rungs, random, table));
        const int x = trace == KernelTrace::Sparse     ? traceSparse(words, start + 1, table)
                      : trace == KernelTrace::Listed   ? traceListed(words, start + 1, table)
                      : trace == KernelTrace::Shuffled ? traceShuffled(words, start + 1, table)
                                                       : traceBySteps(words, start + 1, table);
        ++counts[x - 2];
    }
    state[0] = random.s0;
    state[1] = random.s1;
    state[2] = random.s2;
    state[3] = random.s3;
}
