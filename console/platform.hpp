#pragma once

#include <cstdio>

#include "console_text.hpp"

// What differs by platform: how standard input gives the name, and how a file is
// opened by that name. One body a platform: platform_posix.cpp, platform_windows.cpp.

/// Standard input, as one run reads the name from it: raw bytes, or on Windows, where
/// it is a console, the UTF-8 of the console's UTF-16 text.
struct NameInput {
    std::FILE* stream;
    void* console = nullptr;  // the console read as UTF-16, if stream is one
    ConsoleText text{};
};

/// Decides, once a run, how the name is read from stream.
NameInput openNameInput(std::FILE* stream);

/// The next byte of the name's input, or EOF at its end or on a read error.
int readNameByte(NameInput& input);

/// Whether a read of the name's input has failed.
bool nameInputFailed(const NameInput& input);

/// Whether stream is a terminal or a console. A memory stream is none.
bool isTerminal(std::FILE* stream);

/// Opens the named file for reading, as raw bytes.
std::FILE* openFile(const char* name);
