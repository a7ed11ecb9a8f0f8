#include "header_report.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "header_bytes.hpp"

namespace {

TEST(FormatTag, StopsAtFirstZeroByteAndKeepsEveryOtherByte) {
    struct Case {
        WavTag tag;
        std::string expected;
        TagStyle style = TagStyle::Raw;
    };
    const std::vector<Case> cases = {
        {{'R', 'I', 'F', 'F'}, "RIFF"},
        {{'f', 'm', 't', ' '}, "fmt "},                       // trailing blank kept
        {{0, 0, 0, 0}, ""},                                   // all zero
        {{0, 'a', 'b', 'c'}, ""},                             // leading zero hides the rest
        {{'d', 'a', 0, 'a'}, "da"},                           // zero as third byte
        {{'%', 's', '%', 'n'}, "%s%n"},                       // never taken as a format
        {{'\\', 'n', '\\', '0'}, "\\n\\0"},                   // never unescaped
        {{0x80, 0xFF, 0x1A, 0x0A}, "\x80\xFF\x1A\x0A"},       // high and control bytes unchanged
        {{' ', '\r', '\t', ' '}, " \r\t "},                   // blanks not trimmed
        {{0x1B, '[', '2', 'J'}, "^[[2J", TagStyle::Visible},  // ESC shown, not sent
        {{0x7F, 0x01, 0x1F, 0x16}, "^?^A^_^V", TagStyle::Visible},          // DEL and C0's ends
        {{' ', '~', 0x16, '\n'}, " ~^V^J", TagStyle::Visible},              // printable edges kept
        {{0xC2, 0x9B, '2', 'J'}, "M-BM-^[2J", TagStyle::Visible},           // CSI in UTF-8
        {{0x80, 0x9F, 0xA0, 0xFE}, "M-^@M-^_M- M-~", TagStyle::Visible},    // C1 and high ends
        {{0xFF, 0xFF, 0xFF, 0xFF}, "M-^?M-^?M-^?M-^?", TagStyle::Visible},  // the longest text
        {{'a', 0, 0x1B, 'b'}, "a", TagStyle::Visible},                      // zero still ends it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatTag(c.tag, c.style).view(), c.expected) << c.expected;
    }
}

TEST(WriteHeaderReport, CanonicalHeaderGivesTheThirteenLines) {
    EXPECT_EQ(reportOf(CANONICAL_HEADER), CANONICAL_REPORT);
}

TEST(WriteHeaderReport, LargestValuesPrintUnsigned) {
    HeaderBytes ones{};
    ones.fill(0xFF);
    EXPECT_EQ(reportOf(ones),
              "ChunkID: \xFF\xFF\xFF\xFF\n"
              "ChunkSize: 4294967295 bytes\n"
              "Format: \xFF\xFF\xFF\xFF\n"
              "Subchunk1ID: \xFF\xFF\xFF\xFF\n"
              "Subchunk1Size: 4294967295 bytes\n"
              "AudioFormat: 65535\n"
              "NumChannels: 65535\n"
              "SampleRate: 4294967295 Hz\n"
              "ByteRate: 4294967295 bytes/second\n"
              "BlockAlign: 65535 bytes\n"
              "BitsPerSample: 65535\n"
              "Subchunk2ID: \xFF\xFF\xFF\xFF\n"
              "Subchunk2Size: 4294967295 bytes\n");
}

TEST(WriteHeaderReport, VisibleStyleReachesEveryTag) {
    HeaderBytes dels{};
    dels.fill(0x7F);
    EXPECT_EQ(reportOf(dels, TagStyle::Visible),
              "ChunkID: ^?^?^?^?\nChunkSize: 2139062143 bytes\nFormat: ^?^?^?^?\n"
              "Subchunk1ID: ^?^?^?^?\nSubchunk1Size: 2139062143 bytes\nAudioFormat: 32639\n"
              "NumChannels: 32639\nSampleRate: 2139062143 Hz\n"
              "ByteRate: 2139062143 bytes/second\nBlockAlign: 32639 bytes\n"
              "BitsPerSample: 32639\nSubchunk2ID: ^?^?^?^?\nSubchunk2Size: 2139062143 bytes\n");
}

}  // namespace
