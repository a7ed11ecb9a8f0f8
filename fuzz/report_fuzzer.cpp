// Decodes the first 44 bytes of any input (shorter inputs padded with zero bytes),
// writes the report in both tag styles, then reads each report back and checks that
// every line holds its label, the tag text or the number the input bytes say, and
// its unit.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "header_report.hpp"
#include "printed.hpp"
#include "wav_header.hpp"

namespace {

struct Field {
    std::string_view label;
    std::size_t offset;
    std::size_t width;  // 0 for a tag, else the integer's size in bytes
    std::string_view unit;
};

constexpr std::array<Field, 13> FIELDS = {{
    {"ChunkID", 0, 0, ""},
    {"ChunkSize", 4, 4, " bytes"},
    {"Format", 8, 0, ""},
    {"Subchunk1ID", 12, 0, ""},
    {"Subchunk1Size", 16, 4, " bytes"},
    {"AudioFormat", 20, 2, ""},
    {"NumChannels", 22, 2, ""},
    {"SampleRate", 24, 4, " Hz"},
    {"ByteRate", 28, 4, " bytes/second"},
    {"BlockAlign", 32, 2, " bytes"},
    {"BitsPerSample", 34, 2, ""},
    {"Subchunk2ID", 36, 0, ""},
    {"Subchunk2Size", 40, 4, " bytes"},
}};

void check(bool condition, std::string_view what, std::string_view label) {
    if (!condition) {
        std::fprintf(stderr, "report mismatch: %.*s at %.*s\n", static_cast<int>(what.size()),
                     what.data(), static_cast<int>(label.size()), label.data());
        std::abort();
    }
}

// A tag as the report should show it, built byte by byte from tables rather than by
// the report's own rule: the bytes before the first zero, and in visible style each
// byte outside 0x20 to 0x7E as cat -v shows it.
std::string expectedTag(const unsigned char* bytes, TagStyle style) {
    constexpr std::string_view CONTROL = "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
    std::string tag;
    for (std::size_t i = 0; i < 4 && bytes[i] != 0; ++i) {
        const unsigned char byte = bytes[i];
        if (style == TagStyle::Raw || (byte >= ' ' && byte <= '~')) {
            tag += static_cast<char>(byte);
            continue;
        }
        const unsigned char low = byte & 0x7FU;
        tag += byte >= 0x80 ? "M-" : "";
        tag += low == 0x7F  ? std::string("^?")
               : low < 0x20 ? std::string{'^', CONTROL[low]}
                            : std::string(1, static_cast<char>(low));
    }
    return tag;
}

// Consumes prefix from text if it stands there.
bool consume(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

void checkReport(const std::array<unsigned char, WAV_HEADER_SIZE>& bytes, TagStyle style) {
    const std::string report =
        printed([&](std::FILE* out) { writeHeaderReport(decodeWavHeader(bytes), out, style); });

    std::string_view rest = report;
    for (const Field& field : FIELDS) {
        check(consume(rest, field.label) && consume(rest, ": "), "label", field.label);
        const auto* first = bytes.begin() + field.offset;
        if (field.width == 0) {
            check(consume(rest, expectedTag(first, style)), "tag text", field.label);
        } else {
            // Little-endian value, most significant byte first.
            std::uint64_t expected = 0;
            for (std::size_t i = field.width; i > 0; --i) {
                expected = expected * 256 + first[i - 1];
            }
            std::uint64_t printed = 0;
            const auto [end, error] =
                std::from_chars(rest.data(), rest.data() + rest.size(), printed);
            const auto digits = static_cast<std::size_t>(end - rest.data());
            check(error == std::errc{} && printed == expected, "number", field.label);
            check(rest.front() != '0' || digits == 1, "leading zero", field.label);
            rest.remove_prefix(digits);
        }
        check(consume(rest, field.unit) && consume(rest, "\n"), "unit and line end", field.label);
    }
    check(rest.empty(), "text after the thirteenth line", "end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<unsigned char, WAV_HEADER_SIZE> bytes{};
    std::copy_n(data, std::min(size, bytes.size()), bytes.begin());
    checkReport(bytes, TagStyle::Raw);
    checkReport(bytes, TagStyle::Visible);
    return 0;
}
