#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

/// Length of the canonical RIFF WAVE header: the bytes read from the start of each file.
inline constexpr std::size_t WAV_HEADER_SIZE = 44;

/// A chunk or form tag: four bytes exactly as stored, no terminator, any byte value.
using WavTag = std::array<unsigned char, 4>;

/// The bytes a header is decoded from, in file order.
using WavHeaderBytes = std::span<const unsigned char, WAV_HEADER_SIZE>;

/// The first 44 bytes of a file, read by position as the canonical WAVE header:
/// RIFF chunk header and form type, a format chunk with a 16-byte body, and the
/// header of the data chunk. Nothing in it is checked against the format.
struct WavHeader {
    WavTag ChunkID;
    std::uint32_t ChunkSize;
    WavTag Format;
    WavTag Subchunk1ID;
    std::uint32_t Subchunk1Size;
    std::uint16_t AudioFormat;
    std::uint16_t NumChannels;
    std::uint32_t SampleRate;
    std::uint32_t ByteRate;
    std::uint16_t BlockAlign;
    std::uint16_t BitsPerSample;
    WavTag Subchunk2ID;
    std::uint32_t Subchunk2Size;

    // GCOVR_EXCL_BR_START: compiler-made comparison that only tests call; no input reaches it
    friend constexpr bool operator==(const WavHeader&, const WavHeader&) = default;
    // GCOVR_EXCL_BR_STOP
};

// The readers take their offset as a template argument so that a field reaching
// past the header fails to compile. Each byte is widened to the result's width
// before it is shifted: little-endian by arithmetic, whatever the host's order.

template <std::size_t Offset>
constexpr WavTag readTag(WavHeaderBytes bytes) {
    static_assert(Offset + 4 <= WAV_HEADER_SIZE);
    return {bytes[Offset], bytes[Offset + 1], bytes[Offset + 2], bytes[Offset + 3]};
}

template <std::size_t Offset>
constexpr std::uint16_t read16le(WavHeaderBytes bytes) {
    static_assert(Offset + 2 <= WAV_HEADER_SIZE);
    return static_cast<std::uint16_t>(unsigned{bytes[Offset]} | unsigned{bytes[Offset + 1]} << 8U);
}

template <std::size_t Offset>
constexpr std::uint32_t read32le(WavHeaderBytes bytes) {
    static_assert(Offset + 4 <= WAV_HEADER_SIZE);
    return std::uint32_t{bytes[Offset]} | std::uint32_t{bytes[Offset + 1]} << 8U |
           std::uint32_t{bytes[Offset + 2]} << 16U | std::uint32_t{bytes[Offset + 3]} << 24U;
}

/// Decodes 44 bytes field by field at their fixed offsets. Cannot fail: no value
/// steers the decoding, so a longer format chunk does not move the data chunk's fields.
constexpr WavHeader decodeWavHeader(WavHeaderBytes bytes) {
    return WavHeader{
        .ChunkID       = readTag<0>(bytes),
        .ChunkSize     = read32le<4>(bytes),
        .Format        = readTag<8>(bytes),
        .Subchunk1ID   = readTag<12>(bytes),
        .Subchunk1Size = read32le<16>(bytes),
        .AudioFormat   = read16le<20>(bytes),
        .NumChannels   = read16le<22>(bytes),
        .SampleRate    = read32le<24>(bytes),
        .ByteRate      = read32le<28>(bytes),
        .BlockAlign    = read16le<32>(bytes),
        .BitsPerSample = read16le<34>(bytes),
        .Subchunk2ID   = readTag<36>(bytes),
        .Subchunk2Size = read32le<40>(bytes),
    };
}
