#include "header_report.hpp"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

void writeBytes(std::FILE* out, std::string_view text) {
    static_cast<void>(std::fwrite(text.data(), 1, text.size(), out));
}

// Every report line goes through here: label, colon, blank, value, then a blank
// and the unit where the field has one. Tag bytes are written as bytes, never
// passed through a format string.
void writeLine(std::FILE* out, std::string_view label, std::string_view value,
               std::string_view unit) {
    writeBytes(out, label);
    writeBytes(out, ": ");
    writeBytes(out, value);
    if (!unit.empty()) {
        writeBytes(out, " ");
        writeBytes(out, unit);
    }
    writeBytes(out, "\n");
}

void writeField(std::FILE* out, std::string_view label, const WavTag& tag, TagStyle style) {
    writeLine(out, label, formatTag(tag, style).view(), {});
}

// Numbers go through to_chars, which no locale can change.
void writeField(std::FILE* out, std::string_view label, std::uint32_t value,
                std::string_view unit = {}) {
    std::array<char, 10> digits{};  // 4294967295 has ten
    const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    writeLine(out, label, std::string_view(digits.data(), end), unit);
}

}  // namespace

TagText formatTag(const WavTag& tag, TagStyle style) {
    TagText text{};
    auto append = [&text](unsigned code) { text.chars[text.size++] = static_cast<char>(code); };
    for (const unsigned char byte : tag) {
        if (byte == 0) {
            break;
        }
        unsigned code = byte;
        if (style == TagStyle::Visible) {
            // As cat -v: a byte with the high bit set is M- and its low seven bits; a
            // control byte is ^ and the byte with bit 6 flipped (^[ for ESC, ^? for DEL).
            if (code >= 0x80) {
                append('M');
                append('-');
                code -= 0x80;
            }
            if (code < 0x20 || code == 0x7F) {
                append('^');
                code ^= 0x40U;
            }
        }
        append(code);
    }
    return text;
}

void writeHeaderReport(const WavHeader& header, std::FILE* out, TagStyle style) {
    writeField(out, "ChunkID", header.ChunkID, style);
    writeField(out, "ChunkSize", header.ChunkSize, "bytes");
    writeField(out, "Format", header.Format, style);
    writeField(out, "Subchunk1ID", header.Subchunk1ID, style);
    writeField(out, "Subchunk1Size", header.Subchunk1Size, "bytes");
    writeField(out, "AudioFormat", header.AudioFormat);
    writeField(out, "NumChannels", header.NumChannels);
    writeField(out, "SampleRate", header.SampleRate, "Hz");
    writeField(out, "ByteRate", header.ByteRate, "bytes/second");
    writeField(out, "BlockAlign", header.BlockAlign, "bytes");
    writeField(out, "BitsPerSample", header.BitsPerSample);
    writeField(out, "Subchunk2ID", header.Subchunk2ID, style);
    writeField(out, "Subchunk2Size", header.Subchunk2Size, "bytes");
}
