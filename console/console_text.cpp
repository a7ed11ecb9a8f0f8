#include "console_text.hpp"

#include <array>
#include <cstdio>

namespace {

constexpr int CTRL_Z = 0x1A;

constexpr bool isHighSurrogate(int unit) { return (unit & 0xFC00) == 0xD800; }
constexpr bool isLowSurrogate(int unit) { return (unit & 0xFC00) == 0xDC00; }

int endInput(ConsoleText& text, bool failed) {
    text.ended  = true;
    text.failed = failed;
    return EOF;
}

}  // namespace

int readConsoleByte(ConsoleText& text, ReadConsoleUnit read, void* console) {
    if (text.pendingNext < text.pendingSize) {
        return text.pending[text.pendingNext++];
    }
    if (text.ended) {
        return EOF;
    }
    int unit = read(console);
    while (text.lineInput && unit == '\r') {
        unit = read(console);
    }
    if (unit == CTRL_Z) {
        // The rest of the line is the user's too: read, so that the shell never runs it.
        do {
            unit = read(console);
        } while (unit >= 0 && unit != '\n' && (text.lineInput || unit != '\r'));
        return endInput(text, unit == CONSOLE_FAILED);
    }
    if (unit < 0 || isLowSurrogate(unit)) {
        return endInput(text, unit != CONSOLE_END);
    }
    auto code = static_cast<unsigned>(unit);
    if (isHighSurrogate(unit)) {
        const int low = read(console);
        if (!isLowSurrogate(low)) {
            return endInput(text, true);
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
