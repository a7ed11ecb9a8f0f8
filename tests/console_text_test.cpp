#include "console_text.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr int FAILS  = -1;  // ReadConsoleW fails
constexpr int CTRL_C = -2;  // ReadConsoleW succeeds with no unit: Ctrl+C cut it short

// A console that gives these units. A read past them would wait for a key nobody
// typed: it is counted, and cut short as Ctrl+C would, so the test ends. A reader
// that loops past the end ends the test run, rather than waiting for a time-out.
struct FakeConsole {
    std::vector<int> units;
    std::size_t next = 0;
};

ConsoleRead readUnit(void* console) {
    auto& fake = *static_cast<FakeConsole*>(console);
    if (fake.next >= fake.units.size() + 100) {
        std::fputs("console read over and over past its end\n", stderr);
        std::abort();
    }
    const int unit = fake.next < fake.units.size() ? fake.units[fake.next] : CTRL_C;
    ++fake.next;
    return {unit != FAILS, unit < 0 ? 0UL : 1UL, static_cast<char16_t>(unit < 0 ? 'x' : unit)};
}

TEST(ReadConsoleByte, GivesTheUtf8OfTheTypedLineAndEndsAsTheConsoleDoes) {
    // Input modes as GetConsoleMode gives them.
    constexpr std::uint32_t EDITED      = 0x1F7;  // the default: processed, line input, echo
    constexpr std::uint32_t UNPROCESSED = 0x1F6;  // line input without processed input
    constexpr std::uint32_t CHARACTER   = 0x1;    // processed input alone
    struct Case {
        const char* name;
        std::vector<int> units;
        std::uint32_t mode;
        std::string bytes;  // up to EOF, or to the line end, as the driver reads a line
        bool failed;
        std::size_t unread;  // units left for the next reader
    };
    const std::vector<Case> cases = {
        {"edited line", {'a', 'b', '\r', '\n'}, EDITED, "ab\n", false, 0},
        {"character mode: CR ends a line", {'a', 'b', '\r', 'n'}, CHARACTER, "ab\r", false, 1},
        {"no processed input: CR ends a line", {'a', '\r', 'n'}, UNPROCESSED, "a\r", false, 1},
        {"each length's bounds",
         {0x00, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, '\r', '\n'},
         EDITED,
         "\x00\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\n"s,
         false,
         0},
        {"surrogate pairs: U+10000, U+1D11E, U+10FFFF",
         {0xD800, 0xDC00, 0xD834, 0xDD1E, 0xDBFF, 0xDFFF, '\r', '\n'},
         EDITED,
         "\xF0\x90\x80\x80\xF0\x9D\x84\x9E\xF4\x8F\xBF\xBF\n",
         false,
         0},
        {"high surrogate, then no low one", {0xD800, 0xE9, '\r', '\n', 'n'}, EDITED, "", true, 1},
        {"high surrogate right before Enter", {0xD800, '\r', '\n', 'n'}, EDITED, "", true, 1},
        {"lone low surrogate mid-line: the rest is read",
         {'g', 'o', 'o', 0xDC00, ' ', 'd', 'i', 'r', '\r', '\n', 'n'},
         EDITED,
         "goo",
         true,
         1},
        {"Ctrl+C after goo", {'g', 'o', 'o', CTRL_C, 'n'}, CHARACTER, "goo", true, 1},
        {"failed read", {'a', FAILS, 'b'}, EDITED, "a", true, 1},
        {"Ctrl+Z ends the input; its line is dropped",
         {'a', 0x1A, 0, '\r', '\n', 'n'},
         EDITED,
         "a",
         false,
         1},
        {"character mode: Ctrl+Z to CR", {'a', 0x1A, 'x', '\r', 'n'}, CHARACTER, "a", false, 1},
        {"failed read in Ctrl+Z's line", {0x1A, 'x', FAILS, 'n'}, EDITED, "", true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeConsole console{c.units};
        NameInput input{stdin, &console, readUnit, consoleTextOf(c.mode)};
        std::string bytes;
        while (!input.text.ended &&
               (bytes.empty() || (bytes.back() != '\n' && bytes.back() != '\r'))) {
            if (const int byte = readNameByte(input); byte != EOF) {
                bytes += static_cast<char>(byte);
            }
        }
        const std::size_t read = console.next;
        if (input.text.ended) {
            EXPECT_EQ(readNameByte(input), EOF);  // and stays ended
            EXPECT_EQ(console.next, read);
        }
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(nameInputFailed(input), c.failed);
        EXPECT_LE(read, c.units.size()) << "waits for a key nobody typed";
        EXPECT_EQ(c.units.size() - read, c.unread);
    }
}

}  // namespace
