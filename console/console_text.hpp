#pragma once

#include <array>
#include <cstddef>

/// What a read of one UTF-16 unit from a console gives besides a unit (0 to 0xFFFF).
inline constexpr int CONSOLE_END    = -1;  // no more input
inline constexpr int CONSOLE_FAILED = -2;  // the read failed

/// Reads the next UTF-16 unit of a console, or CONSOLE_END or CONSOLE_FAILED.
using ReadConsoleUnit = int (*)(void* console);

/// What is typed at a console, as UTF-8 text: the bytes of the character last read
/// that are still to come, and whether input has ended, and how.
struct ConsoleText {
    bool lineInput = true;  // the console edits lines, which end in CR LF
    std::array<unsigned char, 4> pending{};
    std::size_t pendingSize{};
    std::size_t pendingNext{};
    bool ended  = false;
    bool failed = false;
};

/// The next byte of the UTF-8 text typed at the console, or EOF once input has ended
/// or failed. A console that edits lines ends each in CR LF: the CR is dropped and
/// the LF ends the line; any other console ends a line at a CR, as a raw terminal
/// does. Ctrl+Z ends the input, and the rest of its line is read and dropped. A read
/// that fails, or a surrogate with no partner, which UTF-8 cannot hold, sets failed.
int readConsoleByte(ConsoleText& text, ReadConsoleUnit read, void* console);
