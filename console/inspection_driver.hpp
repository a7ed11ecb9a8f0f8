#pragma once

#include <cstddef>

/// The file-name buffer, terminator included: a name holds at most 99 bytes.
inline constexpr std::size_t FILE_NAME_CAPACITY = 100;

/// One run: asks for a file name on standard input and writes that file's header
/// report to standard output. Returns the exit status: 0 after a complete report,
/// 1 when no name is read, the file cannot be opened or is shorter than a header,
/// or the report cannot be written.
int runInspection();
