#include "console_text.hpp"

#include <array>
#include <cstdio>

namespace {

constexpr int CTRL_Z      = 0x1A;
constexpr int READ_FAILED = -1;  // the call failed, or Ctrl+C cut it short

constexpr bool isHighSurrogate(int unit) { return (unit & 0xFC00) == 0xD800; }
constexpr bool isLowSurrogate(int unit) { return (unit & 0xFC00) == 0xDC00; }

int readUnit(ReadConsoleUnit read, void* console) {
    const ConsoleRead result = read(console);
    return result.succeeded && result.count > 0 ? result.unit : READ_FAILED;
}

int endInput(ConsoleText& text, bool failed) {
    text.ended  = true;
    text.failed = failed;
    return EOF;
}

// Reads on from unit, the last one read, to the end of its line, so that nothing
// typed on it reaches the next reader, and ends the input.
int endInputAtLineEnd(ConsoleText& text, int unit, bool failed, ReadConsoleUnit read,
                      void* console) {
    while (unit != READ_FAILED && unit != '\n' && (text.enterIsCrLf || unit != '\r')) {
        unit = readUnit(read, console);
    }
    return endInput(text, failed || unit == READ_FAILED);
}

}  // namespace

ConsoleText consoleTextOf(std::uint32_t mode) {
    return {.enterIsCrLf =
                (mode & CONSOLE_LINE_INPUT) != 0 && (mode & CONSOLE_PROCESSED_INPUT) != 0};
}

int readConsoleByte(ConsoleText& text, ReadConsoleUnit read, void* console) {
    if (text.pendingNext < text.pendingSize) {
        return text.pending[text.pendingNext++];
    }
    if (text.ended) {
        return EOF;
    }
    int unit = readUnit(read, console);
    while (text.enterIsCrLf && unit == '\r') {
        unit = readUnit(read, console);
    }
    if (unit == READ_FAILED) {
        return endInput(text, true);
    }
    if (unit == CTRL_Z || isLowSurrogate(unit)) {
        return endInputAtLineEnd(text, unit, unit != CTRL_Z, read, console);
    }
    auto code = static_cast<unsigned>(unit);
    if (isHighSurrogate(unit)) {
        const int low = readUnit(read, console);
        if (!isLowSurrogate(low)) {
            return endInputAtLineEnd(text, low, true, read, console);
        }
        code = 0x10000 + ((code & 0x3FF) << 10U | (static_cast<unsigned>(low) & 0x3FF));
    }
    // UTF-8: a lead byte that tells the length, then six bits a byte.
    constexpr std::array LEAD = {0x00U, 0xC0U, 0xE0U, 0xF0U};
    const std::size_t size    = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    for (std::size_t at = size - 1; at > 0; --at) {
        text.pending[at] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        code >>= 6U;
    }
    text.pending[0]  = static_cast<unsigned char>(LEAD[size - 1] | code);
    text.pendingSize = size;
    text.pendingNext = 1;
    return text.pending[0];
}

int readNameByte(NameInput& input) {
    if (input.console == nullptr) {
        return std::getc(input.stream);
    }
    return readConsoleByte(input.text, input.read, input.console);
}

bool nameInputFailed(const NameInput& input) {
    return std::ferror(input.stream) != 0 || input.text.failed;
}
