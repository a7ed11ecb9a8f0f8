#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "header_report.hpp"
#include "wav_header.hpp"

// 44 bytes, stated here rather than taken from the code under test.
using HeaderBytes = std::array<unsigned char, 44>;

// Canonical PCM header: 2 channels, 16 bits, 44100 Hz, 1000 bytes of sample data.
inline constexpr HeaderBytes CANONICAL_HEADER = {
    'R',  'I',  'F',  'F',  0x0C, 0x04, 0x00, 0x00, 'W',  'A',  'V',  'E',  'f',  'm',  't',
    ' ',  0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1,
    0x02, 0x00, 0x04, 0x00, 0x10, 0x00, 'd',  'a',  't',  'a',  0xE8, 0x03, 0x00, 0x00};

inline const std::string CANONICAL_REPORT =
    "ChunkID: RIFF\n"
    "ChunkSize: 1036 bytes\n"
    "Format: WAVE\n"
    "Subchunk1ID: fmt \n"
    "Subchunk1Size: 16 bytes\n"
    "AudioFormat: 1\n"
    "NumChannels: 2\n"
    "SampleRate: 44100 Hz\n"
    "ByteRate: 176400 bytes/second\n"
    "BlockAlign: 4 bytes\n"
    "BitsPerSample: 16\n"
    "Subchunk2ID: data\n"
    "Subchunk2Size: 1000 bytes\n";

// Every byte distinct and at or above 0x80: byte i holds 0x80 + i.
constexpr HeaderBytes distinctHighBytes() {
    HeaderBytes bytes{};
    for (unsigned i = 0; i < bytes.size(); ++i) {
        bytes.at(i) = static_cast<unsigned char>(0x80U + i);
    }
    return bytes;
}

inline std::string asText(const HeaderBytes& bytes) { return {bytes.begin(), bytes.end()}; }

// The report of the given bytes, caught in a temporary file (binary on every
// platform, so line ends stay as written).
inline std::string reportOf(const HeaderBytes& bytes, TagStyle style = TagStyle::Raw) {
    std::FILE* file = std::tmpfile();
    writeHeaderReport(decodeWavHeader(bytes), file, style);
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}
