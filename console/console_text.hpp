#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>

/// What one read of one UTF-16 unit from a console returned: whether the call
/// succeeded, how many units it read, and the unit. A read that succeeds with no unit
/// was cut short by Ctrl+C or Ctrl+Break.
struct ConsoleRead {
    bool succeeded;
    unsigned long count;
    char16_t unit;
};

/// Reads the next UTF-16 unit of a console.
using ReadConsoleUnit = ConsoleRead (*)(void* console);

/// The bits of a console's input mode that decide how Enter arrives (the values of
/// ENABLE_PROCESSED_INPUT and ENABLE_LINE_INPUT).
inline constexpr std::uint32_t CONSOLE_PROCESSED_INPUT = 0x1;
inline constexpr std::uint32_t CONSOLE_LINE_INPUT      = 0x2;

/// What is typed at a console, as UTF-8 text: the bytes of the character last read
/// that are still to come, and whether input has ended, and how.
struct ConsoleText {
    bool enterIsCrLf = true;  // Enter arrives as CR LF, not as a bare CR
    std::array<unsigned char, 4> pending{};
    std::size_t pendingSize{};
    std::size_t pendingNext{};
    bool ended  = false;
    bool failed = false;
};

/// The text of a console in the given input mode. Enter arrives as CR LF where the
/// console both edits lines and processes input, and as a bare CR otherwise.
ConsoleText consoleTextOf(std::uint32_t mode);

/// The next byte of the UTF-8 text typed at the console, or EOF once input has ended
/// or failed. Where Enter is CR LF, the CR is dropped and the LF ends the line;
/// otherwise the CR ends it. Ctrl+Z ends the input, and the rest of its line is read
/// and dropped. A surrogate with no partner, which UTF-8 cannot hold, is read to the
/// end of its line too, and fails. A read that fails, or that Ctrl+C cut short, fails
/// at once: a console has no other end of input.
int readConsoleByte(ConsoleText& text, ReadConsoleUnit read, void* console);

/// Standard input, as one run reads the name from it: raw bytes, or on Windows, where
/// it is a console, the UTF-8 of the console's UTF-16 text.
struct NameInput {
    std::FILE* stream;
    void* console        = nullptr;  // the console read as UTF-16, if stream is one
    ReadConsoleUnit read = nullptr;
    ConsoleText text{};
};

/// The next byte of the name's input, or EOF at its end or on a read error.
int readNameByte(NameInput& input);

/// Whether a read of the name's input has failed.
bool nameInputFailed(const NameInput& input);
