#include "engine/sqlite/Utf8Text.h"

#include <array>
#include <bit>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace engine::sqlite {

namespace {

// Well-formed UTF-8 after the Unicode standard's table of well-formed byte sequences, read as
// a state machine with one step per byte. The states after a lead byte say how many bytes of
// the sequence are still to come and which range the next one must lie in; the narrow ranges
// after E0, ED, F0 and F4 rule out overlong forms, surrogates and code points above U+10FFFF.
// Stepping through a table keeps the loop free of branches that text with scattered umlauts
// would make the processor guess wrong.
enum Utf8State : std::uint8_t {
    Complete,  // between sequences
    Invalid,   // no well-formed text can follow
    Last1,     // one more byte, 80..BF
    Last2,     // two more bytes, the next 80..BF
    Last3,     // three more bytes, the next 80..BF
    AfterE0,   // two more, the next A0..BF
    AfterED,   // two more, the next 80..9F
    AfterF0,   // three more, the next 90..BF
    AfterF4,   // three more, the next 80..8F
    kUtf8States
};

constexpr bool within(unsigned byte, unsigned low, unsigned high) {
    return byte >= low && byte <= high;
}

constexpr Utf8State afterLeadByte(unsigned byte) {
    if (byte < 0x80) return Complete;
    if (within(byte, 0xC2, 0xDF)) return Last1;
    if (byte == 0xE0) return AfterE0;
    if (byte == 0xED) return AfterED;
    if (within(byte, 0xE1, 0xEF)) return Last2;
    if (byte == 0xF0) return AfterF0;
    if (within(byte, 0xF1, 0xF3)) return Last3;
    if (byte == 0xF4) return AfterF4;
    return Invalid;  // 80..C1 never start a sequence, F5..FF never occur
}

constexpr Utf8State nextState(Utf8State state, unsigned byte) {
    switch (state) {
        case Complete:
            return afterLeadByte(byte);
        case Last1:
            return within(byte, 0x80, 0xBF) ? Complete : Invalid;
        case Last2:
            return within(byte, 0x80, 0xBF) ? Last1 : Invalid;
        case Last3:
            return within(byte, 0x80, 0xBF) ? Last2 : Invalid;
        case AfterE0:
            return within(byte, 0xA0, 0xBF) ? Last1 : Invalid;
        case AfterED:
            return within(byte, 0x80, 0x9F) ? Last1 : Invalid;
        case AfterF0:
            return within(byte, 0x90, 0xBF) ? Last2 : Invalid;
        case AfterF4:
            return within(byte, 0x80, 0x8F) ? Last2 : Invalid;
        default:
            return Invalid;
    }
}

// The table is indexed by the byte alone: each entry holds the next state for every state, six
// bits apiece, and a state is kept as the shift that picks its own six bits. A step is then a
// load that does not wait for the state before it and one shift, instead of a load whose
// address depends on the previous step.
constexpr unsigned kStateBits = 6;
static_assert(kUtf8States * kStateBits <= 64);

constexpr std::uint64_t shiftOf(Utf8State state) {
    return static_cast<std::uint64_t>(state) * kStateBits;
}

using Utf8Table = std::array<std::uint64_t, 256>;

constexpr Utf8Table kUtf8Next = [] {
    Utf8Table table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        for (unsigned state = 0; state < kUtf8States; ++state) {
            const Utf8State next = nextState(static_cast<Utf8State>(state), byte);
            table[byte] |= shiftOf(next) << shiftOf(static_cast<Utf8State>(state));
        }
    }
    return table;
}();

std::int64_t countByStates(const unsigned char* bytes, std::size_t size) {
    constexpr std::uint64_t kStateMask = (std::uint64_t{1} << kStateBits) - 1;
    std::uint64_t state = shiftOf(Complete);
    std::int64_t count = 0;
    for (std::size_t i = 0; i < size; ++i) {
        state = (kUtf8Next[bytes[i]] >> state) & kStateMask;
        count += state == shiftOf(Complete);
    }
    return state == shiftOf(Complete) ? count : -1;
}

#if defined(__SSE2__)

constexpr std::size_t kBlock = 16;

// The kBlock bytes of text from offset on, as masks with one bit per byte: whether its bit 7,
// its bit 6 and its bit 5 are set, and whether its bits 4..1 are all clear. Past the text's end
// the bytes are NUL, which is ASCII. The last block of a text of kBlock bytes or more is loaded
// ending at the text's end and shifted into place.
struct ByteBits {
    unsigned bit7, bit6, bit5, bits4To1Clear;
};

ByteBits bitsAt(const unsigned char* text, std::size_t size, std::size_t offset) {
    const std::size_t left = size - offset;
    __m128i block;
    unsigned shift = 0;
    if (left >= kBlock) {
        block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + offset));
    } else if (size >= kBlock) {
        block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + size - kBlock));
        shift = static_cast<unsigned>(kBlock - left);
    } else {
        alignas(kBlock) unsigned char padded[kBlock] = {};
        std::memcpy(padded, text + offset, left);
        block = _mm_load_si128(reinterpret_cast<const __m128i*>(padded));
    }
    // Shifting the 16-bit lanes moves each byte's lower bits up into its own bit 7, which is all
    // that the mask takes from each byte.
    const auto mask = [shift](__m128i bytes) {
        return static_cast<unsigned>(_mm_movemask_epi8(bytes)) >> shift;
    };
    const __m128i fourToOne = _mm_and_si128(block, _mm_set1_epi8(0x1E));
    return {mask(block), mask(_mm_slli_epi16(block, 1)), mask(_mm_slli_epi16(block, 2)),
            mask(_mm_cmpeq_epi8(fourToOne, _mm_setzero_si128()))};
}

// The number of bits set in each byte value. The processor's own instruction for it is not
// part of every x86-64 processor, and the library call in its place costs more than the block.
constexpr std::array<std::uint8_t, 256> kBitsSet = [] {
    std::array<std::uint8_t, 256> counts{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        counts[byte] = static_cast<std::uint8_t>(std::popcount(byte));
    }
    return counts;
}();

// Text of ASCII and two-byte sequences (Latin letters with umlauts and accents, the common
// case) checked kBlock bytes at a time: each byte's top bits mark it as a lead byte (11xxxxxx)
// or a continuation byte (10xxxxxx), and the text is well-formed exactly when the continuation
// bytes are the bytes right after the lead bytes. nullopt when a byte starts a longer
// sequence or is a lead byte no sequence starts with (C0, C1): the state machine decides then.
std::optional<std::int64_t> countByBlocks(const unsigned char* bytes, std::size_t size) {
    unsigned leadBefore = 0;  // bit 0: the block before ended on a lead byte
    std::int64_t continuations = 0;
    for (std::size_t i = 0; i < size; i += kBlock) {
        const ByteBits bits = bitsAt(bytes, size, i);
        const unsigned lead = bits.bit7 & bits.bit6;
        const unsigned continuation = bits.bit7 & ~bits.bit6;
        if (lead & (bits.bit5 | bits.bits4To1Clear)) return std::nullopt;
        if (continuation != (((lead << 1) | leadBefore) & 0xFFFF)) return -1;
        leadBefore = (lead >> (kBlock - 1)) & 1;
        continuations += kBitsSet[continuation & 0xFF] + kBitsSet[continuation >> 8];
    }
    if (leadBefore) return -1;
    return static_cast<std::int64_t>(size) - continuations;
}

#endif

}  // namespace

std::int64_t codePointCount(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
#if defined(__SSE2__)
    if (const auto count = countByBlocks(bytes, text.size())) return *count;
#endif
    return countByStates(bytes, text.size());
}

}  // namespace engine::sqlite
