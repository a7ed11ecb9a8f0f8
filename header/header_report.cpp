#include "header_report.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <ostream>
#include <string_view>

namespace {

void writeBytes(std::ostream& out, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Every report line goes through here: label, colon, blank, value, then a blank
// and the unit where the field has one.
void writeLine(std::ostream& out, std::string_view label, std::string_view value,
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

void writeField(std::ostream& out, std::string_view label, const WavTag& tag, TagStyle style) {
    writeLine(out, label, formatTag(tag, style), {});
}

// Numbers go through to_chars rather than the stream, so no locale can add
// grouping or change the digits.
void writeField(std::ostream& out, std::string_view label, std::uint32_t value,
                std::string_view unit = {}) {
    std::array<char, 10> digits{};  // 4294967295 has ten
    const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    writeLine(out, label, std::string_view(digits.data(), end), unit);
}

}  // namespace

std::string formatTag(const WavTag& tag, TagStyle style) {
    const auto* end = std::find(tag.begin(), tag.end(), 0);
    std::string text;
    for (const auto* byte = tag.begin(); byte != end; ++byte) {
        const bool control = *byte < 0x20 || *byte == 0x7F;
        if (style == TagStyle::Caret && control) {
            // ESC (0x1B) becomes ^[ and DEL (0x7F) ^?: the byte with bit 6 flipped.
            text += '^';
            text += static_cast<char>(*byte ^ 0x40U);
        } else {
            text += static_cast<char>(*byte);
        }
    }
    return text;
}

void writeHeaderReport(const WavHeader& header, std::ostream& out, TagStyle style) {
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
