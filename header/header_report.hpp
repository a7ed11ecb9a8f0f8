#pragma once

#include <iosfwd>
#include <string>

#include "wav_header.hpp"

/// How tag bytes are written: as stored, or with control bytes (0x01 to 0x1F and
/// 0x7F) in caret notation (^[ for ESC, ^? for DEL), so that a file cannot drive
/// the terminal that shows its report.
enum class TagStyle { Raw, Caret };

/// A tag's text as "%.4s" renders it: its bytes up to the first zero byte, at most
/// four, otherwise unchanged (no quoting or padding). With TagStyle::Caret each
/// control byte becomes two characters; bytes of 0x80 and above stay as they are.
std::string formatTag(const WavTag& tag, TagStyle style = TagStyle::Raw);

/// Writes the thirteen labelled lines of the header report to out, in file order.
/// The stream is used as a byte sink only: its locale, width and flags change nothing.
void writeHeaderReport(const WavHeader& header, std::ostream& out, TagStyle style = TagStyle::Raw);
