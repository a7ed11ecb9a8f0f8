#pragma once

#include <cstddef>
#include <cstdio>

#include "console_text.hpp"

// What differs by platform: how standard input gives the name, and how a file is
// opened by that name. One body a platform: platform_posix.cpp, platform_windows.cpp.

/// The file-name buffer, terminator included: a name holds at most 99 bytes.
inline constexpr std::size_t FILE_NAME_CAPACITY = 100;

/// Decides, once a run, how the name is read from stream.
NameInput openNameInput(std::FILE* stream);

/// Whether stream is a terminal or a console. A memory stream is none.
bool isTerminal(std::FILE* stream);

/// Opens the named file for reading, as raw bytes.
std::FILE* openFile(const char* name);
