#include "header/header_report.hpp"

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

void writeField(std::ostream& out, std::string_view label, const WavTag& tag) {
    writeLine(out, label, formatTag(tag), {});
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

std::string formatTag(const WavTag& tag) {
    const auto* end = std::find(tag.begin(), tag.end(), 0);
    return {tag.begin(), end};
}

void writeHeaderReport(const WavHeader& header, std::ostream& out) {
    writeField(out, "ChunkID", header.ChunkID);
    writeField(out, "ChunkSize", header.ChunkSize, "bytes");
    writeField(out, "Format", header.Format);
    writeField(out, "Subchunk1ID", header.Subchunk1ID);
    writeField(out, "Subchunk1Size", header.Subchunk1Size, "bytes");
    writeField(out, "AudioFormat", header.AudioFormat);
    writeField(out, "NumChannels", header.NumChannels);
    writeField(out, "SampleRate", header.SampleRate, "Hz");
    writeField(out, "ByteRate", header.ByteRate, "bytes/second");
    writeField(out, "BlockAlign", header.BlockAlign, "bytes");
    writeField(out, "BitsPerSample", header.BitsPerSample);
    writeField(out, "Subchunk2ID", header.Subchunk2ID);
    writeField(out, "Subchunk2Size", header.Subchunk2Size, "bytes");
}
