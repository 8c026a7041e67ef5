#include "engine/sqlite/Utf8Text.h"

#include <array>
#include <bit>
#include <cstring>
#include <optional>

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

// The eight bytes of text from offset on; past its end NUL, which is ASCII. The last word of a
// text of eight bytes or more is loaded ending at the text's end and shifted into place.
std::uint64_t wordAt(const unsigned char* text, std::size_t size, std::size_t offset) {
    std::uint64_t word = 0;
    const std::size_t left = size - offset;
    if (left >= sizeof word) {
        std::memcpy(&word, text + offset, sizeof word);
    } else if (size >= sizeof word) {
        std::memcpy(&word, text + size - sizeof word, sizeof word);
        word >>= 8 * (sizeof word - left);
    } else {
        for (std::size_t i = 0; i < left; ++i) word |= std::uint64_t{text[offset + i]} << (8 * i);
    }
    return word;
}

// Text of ASCII and two-byte sequences (Latin letters with umlauts and accents, the common
// case) checked eight bytes at a time: each byte's top bits mark it as a lead byte (11xxxxxx)
// or a continuation byte (10xxxxxx), and the text is well-formed exactly when the continuation
// bytes are the bytes right after the lead bytes. nullopt when a byte starts a longer
// sequence or is a lead byte no sequence starts with (C0, C1): the state machine decides then.
std::optional<std::int64_t> countByWords(const unsigned char* bytes, std::size_t size) {
    static_assert(std::endian::native == std::endian::little, "byte i is bits 8i..8i+7");
    constexpr std::uint64_t kBit7 = 0x8080808080808080;
    constexpr std::uint64_t kBits4To1 = 0x1E1E1E1E1E1E1E1E;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
    constexpr std::uint64_t kBytes = 0x0101010101010101;
    std::uint64_t leadBefore = 0;  // bit 7 of byte 0: the word before ended on a lead byte
    std::uint64_t continuations = 0;
    for (std::size_t i = 0; i < size; i += sizeof(std::uint64_t)) {
        const std::uint64_t word = wordAt(bytes, size, i);
        const std::uint64_t bit6 = (word << 1) & kBit7;
        const std::uint64_t lead = word & bit6;
        const std::uint64_t continuation = word & kBit7 & ~bit6;
        const std::uint64_t startsLonger = lead & (word << 2);
        // bits 4..1 are at most 0x1E, so adding 0x7F sets bit 7 of a byte exactly when one is set
        const std::uint64_t overlong = lead & ~((word & kBits4To1) + kLow7);
        if ((startsLonger | overlong) & kBit7) return std::nullopt;
        if (continuation != ((lead << 8) | leadBefore)) return -1;
        leadBefore = (lead >> 56) & 0x80;
        continuations += ((continuation >> 7) * kBytes) >> 56;
    }
    if (leadBefore) return -1;
    return static_cast<std::int64_t>(size - continuations);
}

}  // namespace

std::int64_t codePointCount(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (const auto count = countByWords(bytes, text.size())) return *count;
    return countByStates(bytes, text.size());
}

}  // namespace engine::sqlite
