#pragma once

#include <iosfwd>
#include <string>

#include "header/wav_header.hpp"

/// A tag's text as "%.4s" renders it: its bytes up to the first zero byte, at most
/// four, unchanged (no quoting, no escaping, no padding).
std::string formatTag(const WavTag& tag);

/// Writes the thirteen labelled lines of the header report to out, in file order.
/// The stream is used as a byte sink only: its locale, width and flags change nothing.
void writeHeaderReport(const WavHeader& header, std::ostream& out);
