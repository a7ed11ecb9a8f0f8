#include "wav_header.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "header_bytes.hpp"

namespace {

constexpr WavHeader CANONICAL = {
    .ChunkID       = {'R', 'I', 'F', 'F'},
    .ChunkSize     = 1036,
    .Format        = {'W', 'A', 'V', 'E'},
    .Subchunk1ID   = {'f', 'm', 't', ' '},
    .Subchunk1Size = 16,
    .AudioFormat   = 1,
    .NumChannels   = 2,
    .SampleRate    = 44100,
    .ByteRate      = 176400,
    .BlockAlign    = 4,
    .BitsPerSample = 16,
    .Subchunk2ID   = {'d', 'a', 't', 'a'},
    .Subchunk2Size = 1000,
};

// Decoding is usable in constant expressions, so this is checked by the compiler too.
static_assert(decodeWavHeader(CANONICAL_HEADER) == CANONICAL);

TEST(DecodeWavHeader, ReadsEachFieldAtItsOffsetLittleEndian) {
    struct Case {
        const char* name;
        HeaderBytes bytes;
        WavHeader expected;
    };
    const std::vector<Case> cases = {
        {"zeros", HeaderBytes{}, WavHeader{}},
        // Distinct bytes catch a wrong offset, a swapped byte order or a sign extension;
        // Subchunk1Size here is far from 16 and must not move the fields after it.
        {"distinct high bytes",
         distinctHighBytes(),
         {{0x80, 0x81, 0x82, 0x83},
          0x8786'8584,
          {0x88, 0x89, 0x8A, 0x8B},
          {0x8C, 0x8D, 0x8E, 0x8F},
          0x9392'9190,
          0x9594,
          0x9796,
          0x9B9A'9998,
          0x9F9E'9D9C,
          0xA1A0,
          0xA3A2,
          {0xA4, 0xA5, 0xA6, 0xA7},
          0xABAA'A9A8}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeWavHeader(c.bytes), c.expected) << c.name;
    }
}

}  // namespace
