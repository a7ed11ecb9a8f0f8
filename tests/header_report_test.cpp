#include "header/header_report.hpp"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "header_bytes.hpp"

namespace {

std::string reportOf(const HeaderBytes& bytes) {
    std::ostringstream out;
    writeHeaderReport(decodeWavHeader(bytes), out);
    return out.str();
}

TEST(FormatTag, StopsAtFirstZeroByteAndKeepsEveryOtherByte) {
    struct Case {
        WavTag tag;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{'R', 'I', 'F', 'F'}, "RIFF"},
        {{'f', 'm', 't', ' '}, "fmt "},                  // trailing blank kept
        {{0, 0, 0, 0}, ""},                              // all zero
        {{0, 'a', 'b', 'c'}, ""},                        // leading zero hides the rest
        {{'d', 'a', 0, 'a'}, "da"},                      // zero as third byte
        {{'%', 's', '%', 'n'}, "%s%n"},                  // never taken as a format
        {{'\\', 'n', '\\', '0'}, "\\n\\0"},              // never unescaped
        {{0x80, 0xFF, 0x1A, 0x0A}, "\x80\xFF\x1A\x0A"},  // high and control bytes unchanged
        {{' ', '\r', '\t', ' '}, " \r\t "},              // blanks not trimmed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatTag(c.tag), c.expected) << c.expected;
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

// A locale that groups thousands, as many national locales do.
struct GroupingPunct : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(WriteHeaderReport, IgnoresTheStreamsLocaleAndFormatting) {
    std::ostringstream out;
    out.imbue(std::locale(out.getloc(), new GroupingPunct));
    out.width(30);
    out << std::showpos << std::hex;
    writeHeaderReport(decodeWavHeader(CANONICAL_HEADER), out);
    EXPECT_EQ(out.str(), CANONICAL_REPORT);
}

}  // namespace
