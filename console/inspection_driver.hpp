#pragma once

#include <cstddef>
#include <iosfwd>

#include "header_report.hpp"

/// The file-name buffer, terminator included: a name holds at most 99 bytes.
inline constexpr std::size_t FILE_NAME_CAPACITY = 100;

/// One run on the given streams: writes the prompt to output, reads a file name
/// from input, leaving the character that ends it unread, and writes that file's
/// header report to output. Returns the exit status: 0 after a complete report, 1
/// when no name is read, the file cannot be opened or is shorter than a header, or
/// the report cannot be written.
int runInspection(std::streambuf& input, std::ostream& output, TagStyle style = TagStyle::Raw);

/// The program's run on standard input and output. Reads nothing of standard input
/// beyond the name and the one character that ends it, so that the next reader of
/// the same pipe or terminal gets the rest. Control bytes in tags are shown in
/// caret notation when standard output is a terminal.
int runInspection();
