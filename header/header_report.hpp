#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

#include "wav_header.hpp"

/// How tag bytes are written: as stored, or with every byte outside 0x20 to 0x7E shown
/// as cat -v shows it (^[ for ESC, ^? for DEL, M-^[ for 0x9B, M-a for 0xE1), so that a
/// file cannot drive the terminal that shows its report. Unlike cat -v, a tab and a
/// line feed are shown too, as ^I and ^J.
enum class TagStyle { Raw, Visible };

/// The text of one tag: at most four bytes, each shown as at most four characters.
struct TagText {
    std::array<char, 16> chars;
    std::size_t size;

    [[nodiscard]] constexpr std::string_view view() const { return {chars.data(), size}; }
};

/// A tag's text as "%.4s" renders it: its bytes up to the first zero byte, at most
/// four, otherwise unchanged (no quoting or padding), unless the style is Visible.
TagText formatTag(const WavTag& tag, TagStyle style = TagStyle::Raw);

/// Writes the thirteen labelled lines of the header report to out, in file order.
/// A failed write is left for the caller to find with ferror.
void writeHeaderReport(const WavHeader& header, std::FILE* out, TagStyle style = TagStyle::Raw);
