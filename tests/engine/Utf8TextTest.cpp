#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/sqlite/Utf8Text.h"

namespace {

using engine::sqlite::codePointCount;

// Decodes text sequence by sequence after the Unicode standard's definition of well-formed
// UTF-8, as plainly as possible.
std::int64_t decodedCount(const std::string& text) {
    std::int64_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        std::uint32_t point = lead;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, point = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, point = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, point = lead & 0x07;
        } else if (lead >= 0x80) {
            return -1;
        }
        if (i + length > text.size()) return -1;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return -1;
            point = (point << 6) | (next & 0x3F);
        }
        if (length == 3 && (point < 0x800 || (point >= 0xD800 && point <= 0xDFFF))) return -1;
        if (length == 4 && (point < 0x10000 || point > 0x10FFFF)) return -1;
        i += length;
    }
    return count;
}

// Sequences cut by the edge of a block of blockSize bytes, and texts whose last block is
// partly the one before.
std::vector<std::string> textsAcrossBlockEdges(std::size_t blockSize) {
    const std::string before(blockSize - 1, 'a');
    return {before + "\xC3\xA4",
            before + "\xC3\xA4" + before,
            before + "\xC3",
            before + "\xC3" + "x",
            before + "x\xA4",
            std::string(blockSize - 8, 'a') + "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3",
            before + "\xE2\x82\xAC",
            before + "\xC0\x80",
            before + "\xC1\xBF",
            before + "abc\xC3\xA4",
            before + "ab\xC3\xA4",
            before + before + "\xED\xA0\x80",
            before + "\xF0\x9F\x98\x80" + before};
}

// Texts are checked several bytes at a time: at the edges of blocks of 8, 16 and 32 bytes
// they must come out as the plain decoding says.
TEST(Utf8Text, SequencesAcrossEightByteWordsAreCountedAndCheckedLikeThePlainDecoding) {
    for (const std::size_t blockSize : {8, 16, 32}) {
        for (const std::string& text : textsAcrossBlockEdges(blockSize)) {
            EXPECT_EQ(codePointCount(text), decodedCount(text)) << text;
        }
    }
}

TEST(Utf8Text, RandomTextsAreCountedAndCheckedLikeThePlainDecoding) {
    const std::string pieces[] = {"a",
                                  "\xC3\xA4",
                                  "\xC3\x9F",
                                  "\x80",
                                  "\xBF",
                                  "\xC0",
                                  "\xC2",
                                  "\xDF",
                                  "\xE0",
                                  "\xE2\x82\xAC",
                                  "\xED",
                                  "\xA0",
                                  "\xF0\x90\x80\x80",
                                  "\xF4\x8F",
                                  "\xF5",
                                  "\xFF",
                                  std::string(1, '\0')};
    std::mt19937 random(7);
    for (int round = 0; round < 200000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            text += random() % 3 == 0 ? pieces[random() % std::size(pieces)] : "x";
        }
        ASSERT_EQ(codePointCount(text), decodedCount(text)) << text;
    }
}

}  // namespace
